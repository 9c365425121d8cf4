#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// Runs of the program from a terminal whose session names no runtime folder ($XDG_RUNTIME_DIR
// unset, as after su), with a temporary folder of the test's own.
class TerminalOutputTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_tmp.isValid()); }

    struct Output {
        int exitCode = -1;
        QString out, err;
    };

    Output Run(const QStringList& arguments) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("XDG_RUNTIME_DIR");
        env.insert("TMPDIR", m_tmp.path());
        env.insert("XDG_CONFIG_HOME", m_tmp.filePath("config"));
        env.insert("XDG_DATA_HOME", m_tmp.filePath("data"));
        env.insert("PERIOLEX_SYSTEM_DIR", PERIOLEX_RES_BINARY_DIR);
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(PERIOLEX_PROGRAM, arguments);
        if (!program.waitForFinished(60000)) {
            program.kill();
            program.waitForFinished();
        }
        return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
                QString::fromUtf8(program.readAllStandardError())};
    }

    // Where the program's runtime folder lies when the session names none.
    QString RuntimeFolder() const {
        const passwd* account = getpwuid(geteuid());
        const QString user =
            account ? QString::fromLocal8Bit(account->pw_name) : QString::number(geteuid());
        return m_tmp.filePath(QStringLiteral("runtime-") + user);
    }

    static QFileDevice::Permissions OwnerOnly() {
        return QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
               QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    }

    QTemporaryDir m_tmp;
};

TEST_F(TerminalOutputTest, CommandLineWorkPrintsNothingButItsOwnOutput) {
    const Output version = Run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.err, QString());
    EXPECT_TRUE(QRegularExpression("^Periolex \\d+(\\.\\d+)*\\n$").match(version.out).hasMatch())
        << version.out.toStdString();
    EXPECT_EQ(QFileInfo(RuntimeFolder()).permissions(), OwnerOnly());

    // A folder left open to others by some earlier program is closed again, not complained about.
    ASSERT_TRUE(QFile::setPermissions(
        RuntimeFolder(), OwnerOnly() | QFileDevice::ReadOther | QFileDevice::ExeOther));
    const QString pdf = m_tmp.filePath("liste.pdf");
    const Output print =
        Run({"--print-to", pdf, QStringLiteral(PERIOLEX_RES_BINARY_DIR "/Beispiel.plx")});
    EXPECT_EQ(print.exitCode, 0);
    EXPECT_EQ(print.err, QString());
    EXPECT_EQ(print.out, QString());
    EXPECT_TRUE(QFileInfo(pdf).size() > 0);
    EXPECT_EQ(QFileInfo(RuntimeFolder()).permissions(), OwnerOnly());
}

TEST_F(TerminalOutputTest, ALinkPlantedAsRuntimeFolderIsNotMadeTheProgramsOwn) {
    // Anyone may create names in a shared temporary folder; the program must not adopt (and
    // change the rights of) a folder that a link there points to.
    const QString elsewhere = m_tmp.filePath("elsewhere");
    ASSERT_TRUE(QDir().mkdir(elsewhere));
    const QFileDevice::Permissions open = OwnerOnly() | QFileDevice::ReadGroup |
                                          QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                          QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(elsewhere, open));
    ASSERT_TRUE(QFile::link(elsewhere, RuntimeFolder()));

    const Output version = Run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(QFileInfo(elsewhere).permissions(), open);
}

}  // namespace
