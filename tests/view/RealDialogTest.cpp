#include <AfxRes.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "support/ProgramTest.h"
#include "support/RealDialogs.h"
#include "view/CConflictDlg.h"
#include "view/CQueryDlg.h"

namespace {

// The dialogs of the record form as the user meets them: built for real, answered with keys.
using RealDialogTest = ProgramTest;

// The conflict question opens by itself while the user is typing: a stray Enter or Escape must
// go back to the form and write nothing, and each answer has a letter of its own.
TEST_F(RealDialogTest, TheConflictQuestionDecidesNothingOnEnterOrEscape) {
    ASSERT_TRUE(Start());
    const std::vector<ConflictField> fields{
        {2, "Meine Überschrift", "Ihre Überschrift", COleVariant(std::string("Ihre Überschrift"))}};
    // `inText`: the user has clicked into a text to read it; Enter then goes to the default.
    const auto answer = [&](int key, bool alt, bool inText) {
        int result = -1;
        RealDialogs::Run(
            [&] { result = CConflictDlg("Datensatz 2", fields).DoModal(); }, {[&](QWidget* dialog) {
                ASSERT_TRUE(RealDialogs::Activate(dialog));
                QPushButton* safe = RealDialogs::DefaultButton(dialog);
                ASSERT_NE(safe, nullptr);
                EXPECT_EQ(safe->text(), "&Zurück zum Formular");
                EXPECT_EQ(QApplication::focusWidget(), safe);
                EXPECT_TRUE(RealDialogs::MnemonicsAreUnique(dialog));
                QStringList shown;
                for (const QLineEdit* edit : dialog->findChildren<QLineEdit*>()) {
                    shown << edit->text();
                }
                EXPECT_EQ(shown, QStringList({"Meine Überschrift", "Ihre Überschrift"}));
                if (inText) {
                    auto* text = dialog->findChild<QLineEdit*>();
                    QTest::mouseClick(text, Qt::LeftButton);
                    ASSERT_EQ(QApplication::focusWidget(), text);
                }
                RealDialogs::Press(dialog, key, alt);
            }});
        return result;
    };
    EXPECT_EQ(answer(Qt::Key_Return, false, false), IDCANCEL);
    EXPECT_EQ(answer(Qt::Key_Return, false, true), IDCANCEL);
    EXPECT_EQ(answer(Qt::Key_Escape, false, false), IDCANCEL);
    EXPECT_EQ(answer(Qt::Key_M, true, false), IDYES);
    EXPECT_EQ(answer(Qt::Key_G, true, false), IDNO);
}

TEST_F(RealDialogTest, TheQueryTakesTheTypedTextOnEnterAndNothingOnEscape) {
    ASSERT_TRUE(Start());
    for (const int key : {Qt::Key_Return, Qt::Key_Escape}) {
        CQueryDlg query;
        int result = -1;
        RealDialogs::Run([&] { result = query.DoModal(); }, {[&](QWidget* dialog) {
                             ASSERT_TRUE(RealDialogs::Activate(dialog));
                             EXPECT_EQ(dialog->windowTitle(), "Abfrage");
                             QPushButton* ok = RealDialogs::DefaultButton(dialog);
                             ASSERT_NE(ok, nullptr);
                             EXPECT_EQ(ok->text(), "OK");
                             auto* text = qobject_cast<QLineEdit*>(QApplication::focusWidget());
                             ASSERT_NE(text, nullptr) << "the text field has the focus";
                             QTest::keyClicks(text, "Monitor");
                             RealDialogs::Press(dialog, key);
                         }});
        if (key == Qt::Key_Return) {
            EXPECT_EQ(result, IDOK);
            EXPECT_EQ(query.m_strText, "Monitor");
        } else {
            EXPECT_EQ(result, IDCANCEL);
        }
    }
}

}  // namespace
