#include "ProgramTest.h"

#include <CatalogueGenerator.h>
#include <ModalSeam.h>
#include <sqlite3.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSettings>

#include "app/CMainFrame.h"
#include "app/CPeriolexApp.h"
#include "document/CPeriolexDoc.h"
#include "res/Resource.h"
#include "view/CPeriolexView.h"

void EnsureTestApplication() {
    if (qApp) {
        return;
    }
    static QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
    static QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("PERIOLEX_SYSTEM_DIR", PERIOLEX_RES_BINARY_DIR);
    static int argc = 1;
    static char name[] = "periolex-test";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    AfxInstallGermanTranslation();
    ModalSeam::Enable(true);
}

void ProgramTest::SetUp() {
    EnsureTestApplication();
    ModalSeam::Reset();
    m_dir = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_dir->isValid());
    // Every test starts with the settings of a first start, whatever ran before it here.
    QSettings(QStringLiteral("Tesmo Software"), QStringLiteral("Periolex")).clear();
}

void ProgramTest::TearDown() {
    Stop();
    EXPECT_EQ(ModalSeam::Pending(), 0u) << "answers queued for questions that were never asked";
    for (const ModalRequest& r : ModalSeam::Unanswered()) {
        ADD_FAILURE() << "unexpected modal question: " << r.text.toStdString();
    }
    ModalSeam::Reset();
}

bool ProgramTest::Start(const QStringList& arguments) {
    m_app = std::make_unique<CPeriolexApp>();
    // The splash picture would take the first key press of a test; the splash tests ask for it.
    m_app->SetArguments(arguments.contains("--splash")
                            ? arguments.filter(QRegularExpression("^(?!--splash$)"))
                            : QStringList{"--nosplash"} + arguments);
    m_running = true;
    const bool started = m_app->InitInstance();
    ProcessEvents();
    return started;
}

void ProgramTest::Stop() {
    if (m_app && m_running) {
        m_app->ExitInstance();
        m_running = false;
        ProcessEvents();
    }
    m_app.reset();
}

QString ProgramTest::TempPath(const QString& name) const {
    return m_dir->filePath(name);
}

QString ProgramTest::TemplatePath() {
    return QStringLiteral(PERIOLEX_RES_BINARY_DIR "/file.dat");
}

QString ProgramTest::CopyOfExample(const QString& name) const {
    const QString path = TempPath(name);
    QFile::copy(QStringLiteral(PERIOLEX_RES_BINARY_DIR "/Beispiel.plx"), path);
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

QString ProgramTest::GeneratedCatalogue(long records, const QString& name) const {
    const QString path = TempPath(name);
    GenerateCatalogue(path.toStdString(), records);
    return path;
}

CMainFrame* ProgramTest::MainFrame() const {
    return m_app ? static_cast<CMainFrame*>(m_app->m_pMainWnd) : nullptr;
}

CPeriolexView* ProgramTest::ActiveView() const {
    return MainFrame() ? static_cast<CPeriolexView*>(MainFrame()->GetActiveView()) : nullptr;
}

std::vector<CPeriolexDoc*> ProgramTest::Documents() const {
    std::vector<CPeriolexDoc*> docs;
    for (CDocument* d : m_app->GetDocuments()) {
        docs.push_back(static_cast<CPeriolexDoc*>(d));
    }
    return docs;
}

QLineEdit* ProgramTest::Field(unsigned id) const {
    return qobject_cast<QLineEdit*>(ActiveView()->GetDlgItem(id));
}

QString ProgramTest::Caption() const {
    return qobject_cast<QLabel*>(ActiveView()->GetDlgItem(IDC_DATENSATZ))->text();
}

::testing::AssertionResult ProgramTest::WindowsAgreeWithFile(const QString& path) const {
    const std::vector<StoredRecord> records = StoredRecords(path);
    int window = 0;
    for (CPeriolexDoc* doc : Documents()) {
        for (CView* view : doc->GetViews()) {
            ++window;
            auto text = [view](unsigned id) {
                QWidget* control = view->GetDlgItem(id);
                if (auto* edit = qobject_cast<QLineEdit*>(control)) {
                    return edit->text();
                }
                return qobject_cast<QLabel*>(control)->text();
            };
            const QStringList caption = text(IDC_DATENSATZ).split(QLatin1Char(' '));
            const std::size_t n = caption.value(1).toUInt();
            if (caption.size() != 4 || caption[0] != "Datensatz" || caption[2] != "von" ||
                caption[3] != QString::number(records.size()) || n < 1 || n > records.size()) {
                return ::testing::AssertionFailure()
                       << "window " << window << " says \"" << text(IDC_DATENSATZ).toStdString()
                       << "\", the file holds " << records.size() << " records";
            }
            const StoredRecord shown{text(IDC_ZEITSCHRIFTENNUMMER), text(IDC_ZEITSCHRIFTENNAME),
                                     text(IDC_ARTIKELNAME), text(IDC_SEITE)};
            if (shown != records[n - 1]) {
                return ::testing::AssertionFailure()
                       << "window " << window << " shows \"" << shown[2].toStdString()
                       << "\" as record " << n << ", the file holds \""
                       << records[n - 1][2].toStdString() << "\"";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

StoredRecord ProgramTest::FormTexts() const {
    return {Field(IDC_ZEITSCHRIFTENNUMMER)->text(), Field(IDC_ZEITSCHRIFTENNAME)->text(),
            Field(IDC_ARTIKELNAME)->text(), Field(IDC_SEITE)->text()};
}

void ProgramTest::TypeInto(unsigned id, const QString& text) {
    QLineEdit* edit = Field(id);
    edit->selectAll();
    edit->insert(text);
}

ProgramTest::Outcome ProgramTest::RunProgram(const QStringList& arguments,
                                             const QString& display) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        env.remove(name);
    }
    if (!display.isEmpty()) {
        env.insert("DISPLAY", display);
    }
    env.insert("XDG_RUNTIME_DIR", TempPath({}));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(PERIOLEX_PROGRAM, arguments);
    EXPECT_TRUE(program.waitForFinished(60000));
    QStringList lines = QString::fromUtf8(program.readAllStandardError()).split('\n');
    lines.removeAll(QString());
    return {program.exitStatus(), program.exitCode(),
            QString::fromUtf8(program.readAllStandardOutput()), lines};
}

void ProgramTest::RunCommand(unsigned id) {
    m_app->DispatchCommand(nullptr, id);
    ProcessEvents();
}

void ProgramTest::ProcessEvents() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

std::vector<StoredRecord> ProgramTest::StoredRecords(const QString& path) {
    std::vector<StoredRecord> records;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        return records;
    }
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT Zeitschriftennummer, Zeitschriftenname, Artikelname, Seite "
                       "FROM Zeitschriften ORDER BY ID",
                       -1, &stmt, nullptr);
    while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
        StoredRecord r;
        for (int i = 0; i < 4; ++i) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
            r[i] = text ? QString::fromUtf8(text) : QStringLiteral("<null>");
        }
        records.push_back(r);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return records;
}

QString ProgramTest::StoredKeys(const QString& path) {
    QString keys;
    sqlite3* db = nullptr;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
            SQLITE_OK &&
        sqlite3_prepare_v2(
            db, "SELECT group_concat(ID) FROM (SELECT ID FROM Zeitschriften ORDER BY ID)", -1,
            &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        keys = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return keys;
}

QByteArray ProgramTest::FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Fontconfig keeps a cache for the life of the process that LeakSanitizer reports as lost.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

// Freed memory is filled, so that a library built without the sanitizer (Qt) that uses an object
// after its deletion crashes at once instead of reading what happened to be left there.
extern "C" const char* __asan_default_options() {
    return "max_free_fill_size=65536";
}
