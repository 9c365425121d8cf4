#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "document/ServerPasswordDialog.h"
#include "support/ProgramTest.h"
#include "support/RealDialogs.h"

namespace {

// The login as the user meets it when a server wants a password: built for real, answered with
// keys.
using ServerPasswordDialogTest = ProgramTest;

TEST_F(ServerPasswordDialogTest, EnterLogsInWithTheTypedPasswordAndEscapeGivesUp) {
    ASSERT_TRUE(Start());
    // `password` is typed where the focus is; `key` then ends the dialog.
    const auto login = [](const QString& password, int key) {
        std::optional<ServerLogin> result;
        RealDialogs::Run(
            [&] { result = AskServerLogin(QStringLiteral("db.example/katalog"), "anna", 2); },
            {[&](QWidget* dialog) {
                ASSERT_TRUE(RealDialogs::Activate(dialog));
                EXPECT_EQ(dialog->windowTitle(), "Anmeldung am Datenbankserver");
                QPushButton* ok = RealDialogs::DefaultButton(dialog);
                ASSERT_NE(ok, nullptr);
                EXPECT_EQ(ok->text(), "OK");
                EXPECT_EQ(QApplication::focusWidget(),
                          dialog->findChild<QLineEdit*>(QStringLiteral("password")));
                EXPECT_EQ(RealDialogs::Mnemonics(dialog), QList<QChar>({'b', 'k'}));
                QTest::keyClicks(QApplication::focusWidget(), password);
                RealDialogs::Press(dialog, key);
            }});
        return result;
    };
    const std::optional<ServerLogin> entered = login(QStringLiteral("geheim"), Qt::Key_Return);
    ASSERT_TRUE(entered.has_value());
    EXPECT_EQ(entered->user, "anna");
    EXPECT_EQ(entered->password, "geheim");
    EXPECT_FALSE(login(QStringLiteral("geheim"), Qt::Key_Escape).has_value());
    EXPECT_FALSE(login(QString(), Qt::Key_Return).has_value()) << "no empty password goes out";
}

}  // namespace
