#include "CPeriolexApp.h"

#include <CDocTemplate.h>
#include <ResourceLookup.h>

#include "app/CAboutDlg.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CSplashWnd.h"
#include "app/CopyCommand.h"
#include "catalogue/CatalogueFormat.h"
#include "document/CPeriolexDoc.h"
#include "res/Resource.h"
#include "view/CPeriolexView.h"

MESSAGE_MAP(CPeriolexApp, CWinApp, ON_COMMAND(ID_APP_ABOUT, &ThisClass::OnAppAbout),
            ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew),
            ON_COMMAND(ID_FILE_OPEN, &CWinApp::OnFileOpen),
            ON_COMMAND(ID_FILE_PRINT_SETUP, &CWinApp::OnFilePrintSetup))

CPeriolexApp::CPeriolexApp() {
    CommandLineOption copy{{QStringLiteral("copy")}, IDS_CMDLINE_COPY, 0, true};
    copy.command = CCommandLineInfo::FileCopy;
    copy.files = 2;
    copy.usageId = IDP_COPY_USAGE;
    copy.argumentsId = IDS_CMDLINE_COPY_ARGUMENTS;
    AddCommandLineOption(copy);
    for (CommandLineOption beside :
         {CommandLineOption{
              {QStringLiteral("link")}, IDS_CMDLINE_LINK, IDS_CMDLINE_LINK_FILE, true},
          CommandLineOption{{QStringLiteral("overwrite")}, IDS_CMDLINE_OVERWRITE, 0, true}}) {
        beside.usageId = IDP_COPY_USAGE;
        beside.onlyWith = QStringLiteral("copy");
        AddCommandLineOption(beside);
    }
    AddCommandLineOption(
        {{QStringLiteral("columns")}, IDS_CMDLINE_COLUMNS, IDS_CMDLINE_COLUMN_LIST, true});
    AddCommandLineOption({{QStringLiteral("no-header")}, IDS_CMDLINE_NO_HEADER, 0, true});
    AddCommandLineOption(
        {{QStringLiteral("keep-duplicates")}, IDS_CMDLINE_KEEP_DUPLICATES, 0, true});
    AddCommandLineOption(
        {{QStringLiteral("table")}, IDS_CMDLINE_TABLE, IDS_CMDLINE_TABLE_NAME, true});
}

void CPeriolexApp::InitApplication() {
    AfxSetResourceTables(&PeriolexResources());
}

bool CPeriolexApp::InitInstance() {
    InitApplication();
    CWinApp::InitInstance();

    CCommandLineInfo splashInfo;
    ParseCommandLine(splashInfo);
    if (splashInfo.m_bHandled) {
        return false;
    }
    // Copying needs no window, no settings and no other running instance.
    if (splashInfo.m_nShellCommand == CCommandLineInfo::FileCopy) {
        return ProcessShellCommand(splashInfo);
    }
    CSplashWnd::SetSplashEnabled(splashInfo.m_bShowSplash);

    SetRegistryKey(QStringLiteral("Tesmo Software"));
    LoadStdProfileSettings(4);
    // A catalogue opened from the desktop while Periolex runs goes to the running program.
    if (splashInfo.m_nShellCommand == CCommandLineInfo::FileOpen &&
        HandOverToRunningInstance(splashInfo.m_strFileName)) {
        return false;
    }

    AddDocTemplate(new CDocTemplate(
        IDR_PERIOLTYPE, [] { return new CPeriolexDoc; }, [] { return new CChildFrame; },
        [] { return new CPeriolexView; }));

    auto* mainFrame = new CMainFrame;
    if (!mainFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        delete mainFrame;
        return false;
    }
    m_pMainWnd = mainFrame;
    mainFrame->DragAcceptFiles(true);
    // Printing or unregistering from the command line shows no window: it neither takes files
    // from later starts nor registers the file type it may be about to remove.
    if (splashInfo.m_nShellCommand == CCommandLineInfo::FileNew ||
        splashInfo.m_nShellCommand == CCommandLineInfo::FileOpen) {
        EnableShellOpen();
        RegisterShellFileTypes(true, kCatalogueApplicationId, kApplicationIdOffset);
    }

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!TakeImportOptions(cmdInfo)) {
        m_nExitCode = 2;
        return false;
    }
    // A plain start opens nothing and asks for nothing.
    if (cmdInfo.m_nShellCommand == CCommandLineInfo::FileNew) {
        cmdInfo.m_nShellCommand = CCommandLineInfo::FileNothing;
    }
    if (!ProcessShellCommand(cmdInfo)) {
        return false;
    }
    mainFrame->ShowWindow(SW_SHOWMAXIMIZED);
    mainFrame->UpdateWindow();
    // The splash belongs in front of the window it was shown for.
    if (CSplashWnd* splash = CSplashWnd::Current()) {
        splash->GetSafeHwnd()->raise();
    }
    return true;
}

bool CPeriolexApp::PreTranslateMessage(QObject* target, QEvent* event) {
    if (CSplashWnd::FilterSplashMessage(event)) {
        return true;
    }
    return CWinApp::PreTranslateMessage(target, event);
}

int CPeriolexApp::CopyFromCommandLine(const CCommandLineInfo& info) {
    return RunCopyCommand(info.m_strFileName, info.m_strOtherFile,
                          info.m_options.value(QStringLiteral("link")),
                          info.m_options.value(QStringLiteral("table")),
                          info.m_options.contains(QStringLiteral("overwrite")));
}

void CPeriolexApp::OnAppAbout() {
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}
