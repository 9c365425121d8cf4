#include <AfxRes.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "support/ProgramTest.h"
#include "support/RealDialogs.h"

namespace {

// The dialogs the program shows from its menus and on opening files, built for real and answered
// with keys as a user would.
class RealDialogTest : public ProgramTest {
protected:
    // A file dialog asking where a catalogue goes: the name field has the focus and the button
    // that accepts it is the default. Types `name` unless it is empty, then presses `key`.
    static void AnswerCatalogueDialog(QWidget* dialog, const QString& title, const QString& name,
                                      int key) {
        ASSERT_TRUE(RealDialogs::Activate(dialog));
        EXPECT_EQ(dialog->windowTitle(), title);
        auto* nameField = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(nameField, nullptr) << "the name field has the focus";
        QPushButton* accept = RealDialogs::DefaultButton(dialog);
        ASSERT_NE(accept, nullptr);
        EXPECT_EQ(accept, dialog->findChild<QDialogButtonBox*>()->buttons().constFirst());
        EXPECT_TRUE(RealDialogs::MnemonicsAreUnique(dialog));
        if (!name.isEmpty()) {
            nameField->clear();
            QTest::keyClicks(nameField, name);
        }
        RealDialogs::Press(dialog, key);
    }
    // A message that only informs: OK is its one button and has the focus.
    static void AnswerMessage(QWidget* dialog, const QString& text, int key) {
        ASSERT_TRUE(RealDialogs::Activate(dialog));
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->text().contains(text)) << box->text().toStdString();
        EXPECT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(box->button(QMessageBox::Ok)));
        RealDialogs::Press(dialog, key);
    }
};

TEST_F(RealDialogTest, TheAboutBoxClosesWithEnterOrEscape) {
    ASSERT_TRUE(Start());
    for (const int key : {Qt::Key_Return, Qt::Key_Escape}) {
        RealDialogs::Run([&] { RunCommand(ID_APP_ABOUT); }, {[&](QWidget* dialog) {
                             ASSERT_TRUE(RealDialogs::Activate(dialog));
                             EXPECT_EQ(dialog->windowTitle(), "Info über Periolex");
                             QPushButton* ok = RealDialogs::DefaultButton(dialog);
                             ASSERT_NE(ok, nullptr);
                             EXPECT_EQ(ok->text(), "OK");
                             EXPECT_EQ(QApplication::focusWidget(), ok);
                             RealDialogs::Press(dialog, key);
                         }});
    }
}

TEST_F(RealDialogTest, NewCreatesTheTypedCatalogueOnEnterAndNothingOnEscape) {
    ASSERT_TRUE(Start());
    const QString path = TempPath("Neu.plx");
    RealDialogs::Run([&] { RunCommand(ID_FILE_NEW); }, {[&](QWidget* dialog) {
                         AnswerCatalogueDialog(dialog, "Neue Datenbank erstellen", TempPath("Neu"),
                                               Qt::Key_Escape);
                     }});
    EXPECT_TRUE(Documents().empty());
    EXPECT_FALSE(QFile::exists(path));

    RealDialogs::Run([&] { RunCommand(ID_FILE_NEW); }, {[&](QWidget* dialog) {
                         AnswerCatalogueDialog(dialog, "Neue Datenbank erstellen", TempPath("Neu"),
                                               Qt::Key_Return);
                     }});
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(StoredRecords(path), (std::vector<StoredRecord>{{" ", " ", " ", " "}}));
}

// Opening a spreadsheet's file: the preview, the question where the catalogue goes (its own name
// proposed), and the summary, each taken with Enter; Escape in the preview imports nothing.
TEST_F(RealDialogTest, AnImportIsThreeDialogsThatEnterTakesThrough) {
    ASSERT_TRUE(Start());
    const QString csv = TempPath("liste.csv");
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Heft;Titel\r\n3/1996;Monitore\r\n4/1996;Drucker\r\n");
    file.close();

    RealDialogs::Run([&] { App()->OpenDocumentFile(csv); }, {[](QWidget* dialog) {
                         ASSERT_TRUE(RealDialogs::Activate(dialog));
                         RealDialogs::Press(dialog, Qt::Key_Escape);
                     }});
    EXPECT_TRUE(Documents().empty());
    EXPECT_FALSE(QFile::exists(TempPath("liste.plx")));

    RealDialogs::Run(
        [&] { App()->OpenDocumentFile(csv); },
        {[](QWidget* dialog) {
             ASSERT_TRUE(RealDialogs::Activate(dialog));
             QPushButton* import = RealDialogs::DefaultButton(dialog);
             ASSERT_NE(import, nullptr);
             EXPECT_EQ(import->text(), "&Importieren");
             RealDialogs::Press(dialog, Qt::Key_Return);
         },
         [](QWidget* dialog) {
             AnswerCatalogueDialog(dialog, "Import: Katalog für „liste.csv“ anlegen", {},
                                   Qt::Key_Return);
         },
         [](QWidget* dialog) { AnswerMessage(dialog, "2 Datensätze wurden in", Qt::Key_Return); }});
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(
        StoredRecords(TempPath("liste.plx")),
        (std::vector<StoredRecord>{{"3/1996", "", "Monitore", ""}, {"4/1996", "", "Drucker", ""}}));
}

}  // namespace
