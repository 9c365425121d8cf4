#include <CMDIChildWnd.h>
#include <ModalSeam.h>
#include <sqlite3.h>

#include <QFile>
#include <QLineEdit>

#include "app/CMainFrame.h"
#include "res/Resource.h"
#include "support/ProgramTest.h"

namespace {

// What was typed and could not be stored is never dropped without the user saying so.
class ClosingTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        m_path = GeneratedCatalogue(3);
        ASSERT_TRUE(Start({m_path}));
        // Another program takes the table away, so that storing the form fails.
        sqlite3* db = nullptr;
        sqlite3_open(m_path.toUtf8().constData(), &db);
        sqlite3_exec(db, "DROP TABLE Zeitschriften", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        TypeInto(IDC_ARTIKELNAME, "Nicht zu speichern");
    }
    QString m_path;
};

TEST_F(ClosingTest, TheUserMayKeepTheWindowOpen) {
    ModalSeam::Push({IDOK, {}, {}});  // the failure
    ModalSeam::Push({IDNO, {}, {}});  // "Trotzdem schließen?"
    MainFrame()->GetChildFrames().front()->OnClose();
    ProcessEvents();
    ASSERT_EQ(ModalSeam::Requests().size(), 2u);
    EXPECT_EQ(ModalSeam::Requests()[1].type, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_EQ(MainFrame()->GetChildFrames().size(), 1u);
    EXPECT_EQ(Field(IDC_ARTIKELNAME)->text(), "Nicht zu speichern");

    ModalSeam::Push({IDOK, {}, {}});
    ModalSeam::Push({IDYES, {}, {}});
    RunCommand(ID_APP_EXIT);
    EXPECT_TRUE(Documents().empty());
}

TEST_F(ClosingTest, NewNeverReplacesAnOpenCatalogue) {
    const QByteArray before = FileBytes(m_path);
    ModalSeam::Push({IDOK, m_path, {}});
    ModalSeam::Push({IDOK, {}, {}});
    RunCommand(ID_FILE_NEW);
    EXPECT_TRUE(ModalSeam::Requests().back().text.contains("ist geöffnet"));
    EXPECT_EQ(FileBytes(m_path), before);
    EXPECT_EQ(Documents().size(), 1u);
    ModalSeam::Push({IDOK, {}, {}});  // the failure once more when the test ends
}

}  // namespace
