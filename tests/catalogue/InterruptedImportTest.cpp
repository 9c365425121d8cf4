#include <gtest/gtest.h>
#include <signal.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "support/ProgramTest.h"

namespace {

// `periolex --import` into a new catalogue, ended from outside while it builds the catalogue.
class InterruptedImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureTestApplication();
        ASSERT_TRUE(m_dir.isValid());
    }

    QString Path(const QString& name) const { return m_dir.filePath(name); }

    QStringList BuildFiles() const {
        return QDir(m_dir.path()).entryList({".periolex-*"}, QDir::Files | QDir::Hidden);
    }

    QString Csv(const QString& name, int records) const {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        QByteArray lines;
        for (int i = 0; i < records; ++i) {
            lines += "3/1996;Datenkompass;Artikel Nummer " + QByteArray::number(i) + ";12\n";
        }
        file.write(lines);
        return file.fileName();
    }

    void StartImport(QProcess& program, const QString& csv, const QString& catalogue) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PERIOLEX_SYSTEM_DIR", PERIOLEX_RES_BINARY_DIR);
        env.insert("XDG_CONFIG_HOME", Path("config"));
        program.setProcessEnvironment(env);
        program.start(PERIOLEX_PROGRAM, {"--import", csv, catalogue});
    }

    static void SetAge(const QString& path, qint64 seconds) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-seconds),
                                     QFileDevice::FileModificationTime));
    }

    QTemporaryDir m_dir;
};

TEST_F(InterruptedImportTest, EndedByTermOrInterruptItLeavesNoFileBehind) {
    const QString csv = Csv("gross.csv", 300000);
    const QString catalogue = Path("neu.plx");
    for (const int signalNumber : {SIGTERM, SIGINT}) {
        QProcess program;
        StartImport(program, csv, catalogue);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !BuildFiles().isEmpty(); }, 30000))
            << "the import never began building";
        ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), signalNumber), 0);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::CrashExit)
            << "the import ended before the signal";
        EXPECT_TRUE(BuildFiles().isEmpty()) << BuildFiles().join(", ").toStdString();
        EXPECT_FALSE(QFile::exists(catalogue));
    }
}

TEST_F(InterruptedImportTest, TheNextImportClearsWhatAKilledOneLeftADayAgo) {
    // Left by an import killed outright (SIGKILL, a power cut), and one of an import at work now.
    for (const char* name : {".periolex-AbC123.plx", ".periolex-AbC123.plx-journal",
                             ".periolex-AbC123.plx.part", ".periolex-XyZ789.plx", "eigene.plx"}) {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("alt");
    }
    SetAge(Path(".periolex-AbC123.plx"), 25 * 3600);
    SetAge(Path(".periolex-AbC123.plx-journal"), 25 * 3600);
    SetAge(Path(".periolex-AbC123.plx.part"), 25 * 3600);
    SetAge(Path("eigene.plx"), 25 * 3600);
    QProcess program;
    StartImport(program, Csv("klein.csv", 3), Path("neu.plx"));
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_EQ(BuildFiles(), QStringList{".periolex-XyZ789.plx"});
    EXPECT_TRUE(QFile::exists(Path("eigene.plx")));
    EXPECT_TRUE(QFile::exists(Path("neu.plx")));
}

}  // namespace
