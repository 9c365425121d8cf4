#include "CWinApp.h"

#include <CDaoException.h>

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QMainWindow>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QSettings>
#include <cstdio>
#include <optional>

#include "AfxMessageBox.h"
#include "AfxRes.h"
#include "CDocTemplate.h"
#include "CDocument.h"
#include "CFileDialog.h"
#include "CMDIChildWnd.h"
#include "CMDIFrameWnd.h"
#include "CView.h"
#include "ChangeWatcher.h"
#include "DialogWindow.h"
#include "EventLoopWaiter.h"
#include "GermanQtTexts.h"
#include "ModalSeam.h"
#include "ProgramStyle.h"
#include "QuietQtWarning.h"
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

// A failure that escaped some work, in the words and with the icon the user is shown it.
struct Failure {
    QString text;
    unsigned icon;
    unsigned help;  // the help topic of the text, if there is one
};

std::optional<Failure> RunCatching(const std::function<void()>& work) {
    try {
        work();
        return std::nullopt;
    } catch (CDaoException* e) {
        RestoreCursor();
        // SQLite's own words are English; they go to the log for whoever looks into it.
        std::fprintf(stderr, "%s\n", e->GetErrorMessage().c_str());
        Failure failure{AfxDaoErrorText(*e), MB_ICONEXCLAMATION, AfxDaoErrorTextId(*e)};
        e->Delete();
        return failure;
    } catch (const std::exception& e) {
        RestoreCursor();
        std::fprintf(stderr, "%s\n", e.what());
        return Failure{AfxLoadString(AFX_IDP_COMMAND_FAILURE), MB_ICONSTOP, 0};
    }
}

}  // namespace

CWinApp* AfxGetApp() {
    return s_pApp;
}

CWinApp::CWinApp() {
    s_pApp = this;
    m_options = {
        {{QStringLiteral("p"), QStringLiteral("print")}, AFX_IDS_CMDLINE_PRINT, 0, true},
        {{QStringLiteral("print-to")}, AFX_IDS_CMDLINE_PRINT_TO, AFX_IDS_CMDLINE_PRINTER, true},
        {{QStringLiteral("nosplash")}, AFX_IDS_CMDLINE_NOSPLASH},
        {{QStringLiteral("unregister")}, AFX_IDS_CMDLINE_UNREGISTER, 0, true},
        {{QStringLiteral("import")}, AFX_IDS_CMDLINE_IMPORT, AFX_IDS_CMDLINE_OTHER_FILE, true},
        {{QStringLiteral("export")}, AFX_IDS_CMDLINE_EXPORT, AFX_IDS_CMDLINE_OTHER_FILE, true},
        {{QStringLiteral("contains")}, AFX_IDS_CMDLINE_CONTAINS, AFX_IDS_CMDLINE_TEXT, true},
    };
}

CWinApp::~CWinApp() {
    ForgetWaiter();
    if (s_pApp == this) {
        s_pApp = nullptr;
    }
}

MESSAGE_MAP(CWinApp, CCmdTarget,
            ON_COMMAND_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST, &ThisClass::OnOpenRecentFile),
            ON_COMMAND(ID_APP_EXIT, &ThisClass::OnAppExit))

void CWinApp::InitApplication() {}

bool CWinApp::InitInstance() {
    ProgramStyle::Install();
    m_pPreTranslateFilter = std::make_unique<PreTranslateFilter>(this);
    qApp->installEventFilter(m_pPreTranslateFilter.get());
    m_pChangeWatcher = std::make_unique<ChangeWatcher>();
    // From now on the record store waits for a server with the windows alive.
    m_pWaiter = std::make_unique<EventLoopWaiter>();
    DaoWaiter::Install(m_pWaiter.get());
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
    ForgetWaiter();
    return 0;
}

void CWinApp::ForgetWaiter() {
    if (m_pWaiter) {
        DaoWaiter::Install(nullptr);
        m_pWaiter.reset();
    }
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
        case CCommandLineInfo::FileImport:
            m_nExitCode = ImportFromCommandLine(info.m_strOtherFile, info.m_strFileName) ? 0 : 1;
            return false;
        case CCommandLineInfo::FileCopy:
            m_nExitCode = CopyFromCommandLine(info);
            return false;
        case CCommandLineInfo::FileExport:
            m_nExitCode = ExportFromCommandLine(info.m_strOtherFile, info.m_strFileName,
                                                info.m_bContains ? &info.m_strContains : nullptr)
                              ? 0
                              : 1;
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
    if (CDocument::IsAddressName(pathName)) {
        return OpenAsDocument(pathName);
    }
    const QString path = QFileInfo(pathName).absoluteFilePath();
    if (!path.endsWith(m_templates.front()->GetDocString(CDocTemplate::filterExt),
                       Qt::CaseInsensitive) ||
        IsOtherFile(path)) {
        return OpenOtherFile(path);
    }
    return OpenAsDocument(path);
}

CDocument* CWinApp::OpenOtherFile(const QString& pathName) {
    return m_templates.empty() ? nullptr : OpenAsDocument(QFileInfo(pathName).absoluteFilePath());
}

bool CWinApp::IsOtherFile(const QString&) const {
    return false;
}

CDocument* CWinApp::OpenAsDocument(const QString& path) {
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
    if (!bAsk) {
        RunGuarded([&] { stored = commit(); });
        return true;
    }
    // One question that says why: a failure message first and the question after it would
    // make the user answer twice for one close.
    const std::optional<Failure> failure = RunCatching([&] { stored = commit(); });
    if (!failure) {
        return stored;  // not stored without a failure: the user went back to the form
    }
    return AfxMessageBox(AfxLoadString(AFX_IDP_CLOSE_ANYWAY).arg(failure->text),
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
    const std::optional<Failure> failure = RunCatching(work);
    if (failure) {
        AfxMessageBox(failure->text, MB_OK | failure->icon, failure->help);
    }
    return !failure;
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
                           OtherFileFilter() + AfxLoadString(AFX_IDS_ALLFILTER) +
                           QStringLiteral("|*.*||");
    CFileDialog dialog(true, {}, {}, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, filter,
                       m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr);
    dialog.SetTitle(AfxLoadString(AFX_IDS_OPENFILE));
    if (dialog.DoModal() == IDOK) {
        OpenDocumentFile(dialog.GetPathName());
    }
}

QString CWinApp::OtherFileFilter() const {
    return {};
}

bool CWinApp::CheckExchangeOptions(const CCommandLineInfo& info, bool bothWays, int documents) {
    const bool exchange = info.m_nShellCommand == CCommandLineInfo::FileImport ||
                          info.m_nShellCommand == CCommandLineInfo::FileExport;
    unsigned problem = 0;
    if (bothWays) {
        problem = AFX_IDP_CMDLINE_IMPORT_EXPORT;
    } else if (info.m_bContains && info.m_nShellCommand != CCommandLineInfo::FileExport) {
        problem = AFX_IDP_CMDLINE_CONTAINS;
    } else if (exchange && documents != 1) {
        problem = AFX_IDP_CMDLINE_ONE_DOCUMENT;
    }
    if (problem != 0) {
        std::fprintf(stderr, "%s\n", qPrintable(AfxLoadString(problem)));
    }
    return problem == 0;
}

bool CWinApp::ImportFromCommandLine(const QString&, const QString&) {
    return false;
}

bool CWinApp::ExportFromCommandLine(const QString&, const QString&, const QString*) {
    return false;
}

int CWinApp::CopyFromCommandLine(const CCommandLineInfo&) {
    return 1;
}

QPrinter* CWinApp::GetPrinter() {
    if (!m_pPrinter) {
        m_pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return m_pPrinter.get();
}

void CWinApp::OnFilePrintSetup() {
    // Paper, orientation and margins are kept in the application's one printer, which every
    // later printing and preview uses. Qt warns that its dialog is no use for a PDF printer, as
    // that printer is where none is installed; the dialog serves it all the same.
    std::optional<QPageSetupDialog> made;
    {
        const QuietQtWarning quiet("QPageSetupDialog: Cannot be used on non-native printers");
        made.emplace(GetPrinter(), m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr);
    }
    QPageSetupDialog& dialog = *made;
    AfxMakeDialogWindow(&dialog, m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr);
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
    auto* translator = new GermanQtTexts(qApp);
    if (translator->Load()) {
        QCoreApplication::installTranslator(translator);
    }
}
