#include "CWinApp.h"

#include <CDaoException.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMainWindow>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QSettings>
#include <QTranslator>
#include <cstdio>
#include <string_view>

#include "AfxMessageBox.h"
#include "AfxRes.h"
#include "CDocTemplate.h"
#include "CDocument.h"
#include "CFileDialog.h"
#include "CMDIChildWnd.h"
#include "CMDIFrameWnd.h"
#include "CView.h"
#include "ChangeWatcher.h"
#include "ModalSeam.h"
#include "ResourceLookup.h"
#include "SingleInstance.h"

namespace {

CWinApp* s_pApp = nullptr;

constexpr const char* kRecentSection = "Recent File List";

// Hands key and mouse presses to the application before they reach any window.
class PreTranslateFilter : public QObject {
public:
    explicit PreTranslateFilter(CWinApp* app) : m_pApp(app) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::ShortcutOverride:
            case QEvent::KeyPress:
            case QEvent::MouseButtonPress:
            case QEvent::NonClientAreaMouseButtonPress:
                return m_pApp->PreTranslateMessage(watched, event);
            default:
                return false;
        }
    }

private:
    CWinApp* m_pApp;
};

void RestoreCursor() {
    while (QApplication::overrideCursor()) {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace

CWinApp* AfxGetApp() {
    return s_pApp;
}

CWinApp::CWinApp() {
    s_pApp = this;
}

CWinApp::~CWinApp() {
    if (s_pApp == this) {
        s_pApp = nullptr;
    }
}

MESSAGE_MAP(CWinApp, CCmdTarget,
            ON_COMMAND_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST, &ThisClass::OnOpenRecentFile),
            ON_COMMAND(ID_APP_EXIT, &ThisClass::OnAppExit))

bool CWinApp::InitInstance() {
    m_pPreTranslateFilter = std::make_unique<PreTranslateFilter>(this);
    qApp->installEventFilter(m_pPreTranslateFilter.get());
    m_pChangeWatcher = std::make_unique<ChangeWatcher>();
    return true;
}

int CWinApp::ExitInstance() {
    m_pChangeWatcher.reset();
    if (m_pPreTranslateFilter) {
        qApp->removeEventFilter(m_pPreTranslateFilter.get());
        m_pPreTranslateFilter.reset();
    }
    CloseAllDocuments(false);
    delete m_pMainWnd;
    m_pMainWnd = nullptr;
    m_templates.clear();
    return 0;
}

bool CWinApp::PreTranslateMessage(QObject*, QEvent*) {
    return false;
}

int CWinApp::Run() {
    return QApplication::exec();
}

void CWinApp::SetRegistryKey(const QString& key) {
    QCoreApplication::setOrganizationName(key);
    QCoreApplication::setApplicationName(AfxLoadString(AFX_IDS_APP_TITLE));
}

void CWinApp::LoadStdProfileSettings(unsigned nMaxMRU) {
    m_nMaxMRU = nMaxMRU;
    m_recentFiles.clear();
    QSettings settings;
    settings.beginGroup(QLatin1String(kRecentSection));
    for (unsigned i = 1; i <= nMaxMRU; ++i) {
        const QString file = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!file.isEmpty()) {
            m_recentFiles << file;
        }
    }
}

void CWinApp::SaveRecentFiles() const {
    QSettings settings;
    settings.remove(QLatin1String(kRecentSection));
    settings.beginGroup(QLatin1String(kRecentSection));
    for (int i = 0; i < m_recentFiles.size(); ++i) {
        settings.setValue(QStringLiteral("File%1").arg(i + 1), m_recentFiles[i]);
    }
}

void CWinApp::AddToRecentFileList(const QString& pathName) {
    if (m_nMaxMRU == 0) {
        return;
    }
    const QString path = QFileInfo(pathName).absoluteFilePath();
    m_recentFiles.removeAll(path);
    m_recentFiles.prepend(path);
    while (m_recentFiles.size() > static_cast<int>(m_nMaxMRU)) {
        m_recentFiles.removeLast();
    }
    SaveRecentFiles();
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    m_templates.emplace_back(pTemplate);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    QCommandLineParser parser;
    parser.setApplicationDescription(AfxLoadString(AFX_IDS_APP_TITLE));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption print({QStringLiteral("p"), QStringLiteral("print")},
                                   AfxLoadString(AFX_IDS_CMDLINE_PRINT));
    const QCommandLineOption printTo(QStringLiteral("print-to"),
                                     AfxLoadString(AFX_IDS_CMDLINE_PRINT_TO),
                                     AfxLoadString(AFX_IDS_CMDLINE_PRINTER));
    const QCommandLineOption noSplash(QStringLiteral("nosplash"),
                                      AfxLoadString(AFX_IDS_CMDLINE_NOSPLASH));
    const QCommandLineOption unregister(QStringLiteral("unregister"),
                                        AfxLoadString(AFX_IDS_CMDLINE_UNREGISTER));
    parser.addOptions({print, printTo, noSplash, unregister});
    parser.addPositionalArgument(QStringLiteral("datei"), AfxLoadString(AFX_IDS_CMDLINE_FILE),
                                 QStringLiteral("[datei]"));

    QStringList arguments = m_arguments;
    arguments.prepend(QCoreApplication::applicationFilePath());
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        info.m_bHandled = true;
        m_nExitCode = 2;
        return;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("version"))) {
        std::fputs(qPrintable(parser.isSet(QStringLiteral("help"))
                                  ? parser.helpText()
                                  : AfxLoadString(AFX_IDS_APP_TITLE) + QLatin1Char(' ') +
                                        QCoreApplication::applicationVersion() + QLatin1Char('\n')),
                   stdout);
        info.m_bHandled = true;
        return;
    }
    const QStringList files = parser.positionalArguments();
    info.m_strFileName = files.isEmpty() ? QString() : files.constFirst();
    if (parser.isSet(unregister)) {
        info.m_nShellCommand = CCommandLineInfo::AppUnregister;
    } else if (parser.isSet(printTo)) {
        info.m_nShellCommand = CCommandLineInfo::FilePrintTo;
        info.m_strPrinterName = parser.value(printTo);
    } else if (parser.isSet(print)) {
        info.m_nShellCommand = CCommandLineInfo::FilePrint;
    } else {
        info.m_nShellCommand =
            files.isEmpty() ? CCommandLineInfo::FileNew : CCommandLineInfo::FileOpen;
    }
    // Only a start that shows the program shows the splash picture.
    info.m_bShowSplash =
        !parser.isSet(noSplash) && (info.m_nShellCommand == CCommandLineInfo::FileNew ||
                                    info.m_nShellCommand == CCommandLineInfo::FileOpen);
}

bool CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
    if (info.m_bHandled) {
        return false;
    }
    m_nExitCode = 1;
    switch (info.m_nShellCommand) {
        case CCommandLineInfo::FileNew:
            OnFileNew();
            break;
        case CCommandLineInfo::FileOpen:
            if (!OpenDocumentFile(info.m_strFileName)) {
                return false;
            }
            break;
        case CCommandLineInfo::FileNothing:
            break;
        case CCommandLineInfo::FilePrint:
        case CCommandLineInfo::FilePrintTo:
            // The program prints and ends without showing a window.
            m_nExitCode = PrintFromCommandLine(info) ? 0 : 1;
            return false;
        case CCommandLineInfo::AppUnregister:
            UnregisterShellFileTypes();
            m_nExitCode = 0;
            return false;
    }
    m_nExitCode = 0;
    return true;
}

std::vector<CDocument*> CWinApp::GetDocuments() const {
    std::vector<CDocument*> docs;
    for (const auto& t : m_templates) {
        docs.insert(docs.end(), t->GetDocuments().begin(), t->GetDocuments().end());
    }
    return docs;
}

CDocument* CWinApp::OpenDocumentFile(const QString& pathName) {
    if (m_templates.empty()) {
        return nullptr;
    }
    const QString path =
        CDocument::IsUrlName(pathName) ? pathName : QFileInfo(pathName).absoluteFilePath();
    for (CDocument* doc : GetDocuments()) {
        if (!doc->GetPathName().isEmpty() && doc->GetPathName() == path &&
            !doc->GetViews().empty()) {
            doc->GetViews().front()->GetParentFrame()->ActivateFrame();
            return doc;
        }
    }
    CDocument* doc = nullptr;
    RunGuarded([&] { doc = m_templates.front()->OpenDocumentFile(path); });
    return doc;
}

bool CWinApp::CloseAllDocuments(bool bAsk) {
    for (CDocument* doc : GetDocuments()) {
        if (!CommitBeforeClose([doc] { return doc->CommitAllViews(); }, bAsk)) {
            return false;
        }
        doc->OnCloseDocument();
    }
    return true;
}

bool CWinApp::CommitBeforeClose(const std::function<bool()>& commit, bool bAsk) {
    bool stored = false;
    if (RunGuarded([&] { stored = commit(); })) {
        return stored || !bAsk;
    }
    if (!bAsk) {
        return true;
    }
    return AfxMessageBox(AfxLoadString(AFX_IDP_CLOSE_ANYWAY),
                         MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void CWinApp::DispatchCommand(CView* pView, unsigned nID) {
    CMDIFrameWnd* frame = AfxGetMainFrame();
    if (!frame) {
        return;
    }
    RunGuarded([&] {
        frame->RouteCommand(pView ? pView->GetParentFrame() : frame->MDIGetActive(), nID,
                            CmdAction::Execute);
    });
    if (AfxGetMainFrame()) {
        AfxGetMainFrame()->UpdateCommandStates();
    }
}

bool CWinApp::RunGuarded(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (CDaoException* e) {
        RestoreCursor();
        AfxReportDaoException(*e);
        e->Delete();
    } catch (const std::exception& e) {
        RestoreCursor();
        std::fprintf(stderr, "%s\n", e.what());
        AfxMessageBox(AfxLoadString(AFX_IDP_COMMAND_FAILURE), MB_OK | MB_ICONSTOP);
    }
    return false;
}

void CWinApp::OnFileNew() {
    if (!m_templates.empty()) {
        RunGuarded([this] { m_templates.front()->OpenDocumentFile(QString()); });
    }
}

void CWinApp::OnFileOpen() {
    if (m_templates.empty()) {
        return;
    }
    const CDocTemplate& t = *m_templates.front();
    const QString filter = t.GetDocString(CDocTemplate::filterName) + QStringLiteral("|*") +
                           t.GetDocString(CDocTemplate::filterExt) + QLatin1Char('|') +
                           AfxLoadString(AFX_IDS_ALLFILTER) + QStringLiteral("|*.*||");
    CFileDialog dialog(true, {}, {}, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, filter,
                       m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr);
    dialog.SetTitle(AfxLoadString(AFX_IDS_OPENFILE));
    if (dialog.DoModal() == IDOK) {
        OpenDocumentFile(dialog.GetPathName());
    }
}

QPrinter* CWinApp::GetPrinter() {
    if (!m_pPrinter) {
        m_pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return m_pPrinter.get();
}

void CWinApp::OnFilePrintSetup() {
    // Paper, orientation and margins are kept in the application's one printer, which every
    // later printing and preview uses.
    QPageSetupDialog dialog(GetPrinter(), m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr);
    if (ModalSeam::IsEnabled()) {
        const ModalAnswer answer =
            ModalSeam::Answer({ModalRequest::Kind::Dialog, dialog.windowTitle(), {}, 0});
        if (answer.fill) {
            answer.fill(&dialog);
        }
        return;
    }
    dialog.exec();
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd) {
        m_pMainWnd->OnClose();
    }
}

void CWinApp::OnOpenRecentFile(unsigned nID) {
    const int index = static_cast<int>(nID - ID_FILE_MRU_FILE1);
    if (index >= m_recentFiles.size()) {
        return;
    }
    const QString path = m_recentFiles[index];
    if (!OpenDocumentFile(path)) {
        m_recentFiles.removeAll(path);
        SaveRecentFiles();
    }
}

void AfxInstallGermanTranslation() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* translator = new QTranslator(qApp);
    if (translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    }
}

namespace {

// Printing, help, version and unregistering show no window; they must work without a display,
// for instance from a script or a terminal without a desktop.
void AllowWindowlessCommands(int argc, char** argv) {
    const bool display =
        qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    if (display || qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        return;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg == "-p" || arg == "--print" || arg == "--print-to" || arg == "-h" ||
            arg == "--help" || arg == "--help-all" || arg == "-v" || arg == "--version" ||
            arg == "--unregister") {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            return;
        }
    }
}

}  // namespace

int AfxWinMain(int argc, char** argv) {
    AllowWindowlessCommands(argc, argv);
    QApplication application(argc, argv);
    AfxInstallGermanTranslation();
    CWinApp* app = AfxGetApp();
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    app->SetArguments(arguments);
    const int result = app->InitInstance() ? app->Run() : app->m_nExitCode;
    app->ExitInstance();
    return result;
}
