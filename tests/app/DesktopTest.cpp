#include <sqlite3.h>

#include <QDropEvent>
#include <QFileInfo>
#include <QMainWindow>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "app/CMainFrame.h"
#include "catalogue/CatalogueFormat.h"
#include "document/CPeriolexDoc.h"
#include "support/ProgramTest.h"

namespace {

class DesktopTest : public ProgramTest {
protected:
    static QString Data(const QString& name) {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
               QLatin1Char('/') + name;
    }
    static QProcessEnvironment ProgramEnvironment() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", qEnvironmentVariable("XDG_CONFIG_HOME"));
        env.insert("XDG_DATA_HOME", qEnvironmentVariable("XDG_DATA_HOME"));
        env.insert("PERIOLEX_SYSTEM_DIR", qEnvironmentVariable("PERIOLEX_SYSTEM_DIR"));
        return env;
    }
};

TEST_F(DesktopTest, EveryStartRegistersTheFileTypeAndRewritesOnlyWhatDiffers) {
    ASSERT_TRUE(Start());
    const QString desktop = Data("applications/periolex.desktop");
    const QString mime = Data("mime/packages/periolex.xml");
    ASSERT_TRUE(QFileInfo::exists(desktop));
    ASSERT_TRUE(QFileInfo::exists(mime));
    const QByteArray entry = FileBytes(desktop);
    EXPECT_TRUE(entry.contains("MimeType=application/x-periolex-document;"));
    EXPECT_TRUE(entry.contains("[Desktop Action print]"));
    EXPECT_TRUE(entry.contains("Name=Drucken"));
    EXPECT_TRUE(FileBytes(mime).contains("<glob pattern=\"*.plx\"/>"));
    EXPECT_TRUE(FileBytes(mime).contains("value=\"0x50524c58\" offset=\"68\""));
    EXPECT_TRUE(FileBytes(mime).contains("Perix Document"));
    EXPECT_TRUE(QFileInfo::exists(Data("icons/hicolor/32x32/apps/periolex.png")));

    const QDateTime written = QFileInfo(desktop).lastModified();
    Stop();
    QTest::qWait(20);
    ASSERT_TRUE(Start());
    EXPECT_EQ(QFileInfo(desktop).lastModified(), written)
        << "an unchanged entry is not written again";

    if (!QStandardPaths::findExecutable("desktop-file-validate").isEmpty()) {
        EXPECT_EQ(QProcess::execute("desktop-file-validate", {desktop}), 0);
    }
}

TEST_F(DesktopTest, UnregisterRemovesTheFilesAndEndsTheProgram) {
    ASSERT_TRUE(Start());
    Stop();
    QProcess program;
    program.setProcessEnvironment(ProgramEnvironment());
    program.start(PERIOLEX_PROGRAM, {"--unregister"});
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(Data("applications/periolex.desktop")));
    EXPECT_FALSE(QFileInfo::exists(Data("mime/packages/periolex.xml")));
}

TEST_F(DesktopTest, PrintingFromTheCommandLineLeavesTheDesktopAlone) {
    QTemporaryDir dataHome;
    QProcessEnvironment env = ProgramEnvironment();
    env.insert("XDG_DATA_HOME", dataHome.path());
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(PERIOLEX_PROGRAM, {"--print-to", TempPath("liste.pdf"), CopyOfExample()});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_TRUE(QFileInfo::exists(TempPath("liste.pdf")));
    EXPECT_FALSE(QFileInfo::exists(dataHome.filePath("applications/periolex.desktop")));
}

TEST_F(DesktopTest, TheTemplateCarriesTheCatalogueMark) {
    sqlite3* db = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(TemplatePath().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr),
        SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA application_id", -1, &stmt, nullptr);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_EQ(static_cast<quint32>(sqlite3_column_int64(stmt, 0)), kCatalogueApplicationId);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}

TEST_F(DesktopTest, ASecondStartHandsItsFileToTheRunningProgram) {
    ASSERT_TRUE(Start());
    const QString path = CopyOfExample();
    QProcess second;
    second.setProcessEnvironment(ProgramEnvironment());
    second.start(PERIOLEX_PROGRAM, {path});
    ASSERT_TRUE(QTest::qWaitFor([&] { return Documents().size() == 1; }, 20000))
        << "the running program never opened the file";
    ASSERT_TRUE(second.state() == QProcess::NotRunning || second.waitForFinished(20000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(Documents().front()->GetPathName(), path);
}

TEST_F(DesktopTest, ACatalogueDroppedOnTheMainWindowOpens) {
    ASSERT_TRUE(Start());
    const QString path = CopyOfExample();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QMainWindow* window = MainFrame()->MainWindow();
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Documents().front()->GetPathName(), path);
}

}  // namespace
