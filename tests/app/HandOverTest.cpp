#include <ModalSeam.h>

#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include "document/CPeriolexDoc.h"
#include "res/Resource.h"
#include "support/ProgramTest.h"

namespace {

// A second start of the program, from a terminal in another folder, hands its argument to the
// running program (this test's) and ends.
class HandOverTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(QDir().mkpath(TempPath("anderswo")));
    }

    void StartSecond(const QString& argument) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", qEnvironmentVariable("XDG_CONFIG_HOME"));
        env.insert("XDG_DATA_HOME", qEnvironmentVariable("XDG_DATA_HOME"));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("PERIOLEX_SYSTEM_DIR", PERIOLEX_RES_BINARY_DIR);
        m_second.setProcessEnvironment(env);
        m_second.setWorkingDirectory(TempPath("anderswo"));
        m_second.start(PERIOLEX_PROGRAM, {"--nosplash", argument});
    }

    // The message the running program shows about what it was handed. While it is open its own
    // event loop runs, as a real message box's does, until the second start has ended and its
    // connection is gone.
    void AnswerTheMessageAfterTheSecondStartEnded() {
        ModalSeam::Push({IDOK, {}, {}}, [this] {
            QEventLoop messageLoop;
            QObject::connect(&m_second, &QProcess::finished, &messageLoop, [&messageLoop] {
                QTimer::singleShot(300, &messageLoop, &QEventLoop::quit);
            });
            QTimer::singleShot(20000, &messageLoop, &QEventLoop::quit);
            if (m_second.state() != QProcess::NotRunning) {
                messageLoop.exec();
            }
        });
    }

    QString HandedOverMessage() {
        EXPECT_TRUE(
            QTest::qWaitFor([this] { return m_second.state() == QProcess::NotRunning; }, 30000));
        EXPECT_TRUE(QTest::qWaitFor([] { return !ModalSeam::Requests().empty(); }, 10000));
        ProcessEvents();
        EXPECT_EQ(m_second.exitCode(), 0) << "the second start did not hand over: "
                                          << m_second.readAllStandardError().toStdString();
        return ModalSeam::Requests().empty() ? QString() : ModalSeam::Requests().back().text;
    }

    QProcess m_second;
};

TEST_F(HandOverTest, AFileThatCannotBeOpenedIsReportedAndTheTypedTextStays) {
    // Several rounds: the fault this guards against struck only now and then.
    ASSERT_TRUE(Start({CopyOfExample()}));
    for (int round = 0; round < 3; ++round) {
        TypeInto(IDC_ARTIKELNAME, "Noch nicht gespeichert");
        AnswerTheMessageAfterTheSecondStartEnded();
        StartSecond("nichtda.plx");
        const QString message = HandedOverMessage();
        EXPECT_TRUE(message.contains(TempPath("anderswo/nichtda.plx"))) << message.toStdString();
        ASSERT_EQ(Documents().size(), 1u);
        EXPECT_EQ(Field(IDC_ARTIKELNAME)->text(), "Noch nicht gespeichert");
        ModalSeam::Reset();
    }
}

TEST_F(HandOverTest, ServerAddressesAreHandedOverAsWritten) {
    ASSERT_TRUE(Start());
    const QString uri = "postgresql:///team?host=" + TempPath("kein-server");
    const QString words = "host=" + TempPath("kein-server") + " dbname=team";
    for (const QString& address : {uri, words}) {
        AnswerTheMessageAfterTheSecondStartEnded();
        StartSecond(address);
        const QString message = HandedOverMessage();
        EXPECT_TRUE(message.contains(address)) << message.toStdString();
        EXPECT_FALSE(message.contains("anderswo")) << message.toStdString();
        ModalSeam::Reset();
    }
    EXPECT_TRUE(Documents().empty());
}

}  // namespace
