#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <array>
#include <memory>
#include <vector>

#include <ostream>

// Lets failing assertions show texts as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

class CMainFrame;
#include "app/CPeriolexApp.h"
class CPeriolexDoc;
class CPeriolexView;
class QLineEdit;

// One record as the file holds it: fields 1 to 4, "<null>" for NULL.
using StoredRecord = std::array<QString, 4>;

// The Qt application that every test of the process shares; German texts, no real dialogs, and a
// settings folder of its own.
void EnsureTestApplication();

// A test that runs the real program: CPeriolexApp started as from the command line, with every
// modal question answered through the modal seam, in a temporary folder of its own.
class ProgramTest : public ::testing::Test {
public:
    // Reads the file behind the program's back.
    static std::vector<StoredRecord> StoredRecords(const QString& path);
    // The records' keys in order, joined by commas.
    static QString StoredKeys(const QString& path);
    static QByteArray FileBytes(const QString& path);
    static QString TemplatePath();

protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program with these arguments; false when start-up ended it.
    bool Start(const QStringList& arguments = {});

    // What the program itself, started as a shell starts it, did.
    struct Outcome {
        QProcess::ExitStatus status;
        int code;
        QString out;
        QStringList errorLines;
    };
    // Runs the program in a process of its own, with no window system in reach unless
    // `display` names one.
    Outcome RunProgram(const QStringList& arguments, const QString& display = {}) const;
    void Stop();

    // Files in the test's own folder.
    QString TempPath(const QString& name) const;
    QString CopyOfExample(const QString& name = QStringLiteral("Beispiel.plx")) const;
    QString GeneratedCatalogue(long records, const QString& name = QStringLiteral("gen.plx")) const;

    CPeriolexApp* App() const { return m_app.get(); }
    CMainFrame* MainFrame() const;
    CPeriolexView* ActiveView() const;
    std::vector<CPeriolexDoc*> Documents() const;

    QLineEdit* Field(unsigned id) const;
    QString Caption() const;
    // Every window of every catalogue against the file at `path`, after a command or a live
    // update and with nothing typed: its caption is "Datensatz N von M" with M the records in
    // the file, and its form shows the file's N-th record.
    ::testing::AssertionResult WindowsAgreeWithFile(const QString& path) const;
    // Field texts of the active view's form, top to bottom.
    StoredRecord FormTexts() const;
    void TypeInto(unsigned id, const QString& text);
    void RunCommand(unsigned id);
    // Lets Qt finish deferred deletions and posted events.
    static void ProcessEvents();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CPeriolexApp> m_app;
    bool m_running = false;
};
