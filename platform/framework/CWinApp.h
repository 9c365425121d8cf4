#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "CCmdTarget.h"
#include "CCommandLineInfo.h"

class CDocTemplate;
class DaoWaiter;
class CDocument;
class CMDIFrameWnd;
class CView;
class SingleInstance;
class QEvent;
class QObject;
class QSettings;
class QPrinter;

// The application: start-up and end, settings and the recent-file list, the document templates,
// and the commands that belong to no window.
class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    // The program's arguments (without the program name); set before InitInstance.
    void SetArguments(const QStringList& arguments) { m_arguments = arguments; }
    // The name the program was started under, for its messages on the command line.
    void SetProgramName(const QString& name) { m_strProgramName = name; }
    QString GetProgramName() const;

    // Runs first, before the command line is read and before any window system is needed.
    virtual void InitApplication();
    virtual bool InitInstance();
    virtual int ExitInstance();
    // Sees every key and mouse press of the program before any window does; true swallows it.
    virtual bool PreTranslateMessage(QObject* target, QEvent* event);
    int Run();

    void SetRegistryKey(const QString& key);
    void LoadStdProfileSettings(unsigned nMaxMRU);
    void AddDocTemplate(CDocTemplate* pTemplate);

    // The desktop side (see CWinAppShell.cpp): later starts hand their files to this one, and the
    // document type is known to the desktop under the document template's names. `magic` is a
    // big-endian number at `magicOffset` in every document file, or 0.
    void EnableShellOpen();
    static bool HandOverToRunningInstance(const QString& pathName);
    void RegisterShellFileTypes(bool bCompat, quint32 magic = 0, int magicOffset = 0);
    void UnregisterShellFileTypes();

    // The command line (see CWinAppCommandLine.cpp). Help, version and mistakes are answered on
    // standard output or error; `info.m_bHandled` then says that the program ends with
    // m_nExitCode. An application adds its own options before InitInstance.
    void ParseCommandLine(CCommandLineInfo& info);
    void AddCommandLineOption(const CommandLineOption& option);
    const std::vector<CommandLineOption>& GetCommandLineOptions() const { return m_options; }
    bool ProcessShellCommand(CCommandLineInfo& info);

    // Opens the file, or brings forward the window of the file when it is open already. A file
    // without the document type's extension goes to OpenOtherFile.
    CDocument* OpenDocumentFile(const QString& pathName);
    // Opens a file that is not of the document type by its extension; by default as a document
    // all the same. Applications that can make documents from other files override it.
    virtual CDocument* OpenOtherFile(const QString& pathName);
    // Whether a file with the document type's extension belongs to OpenOtherFile all the same,
    // by its content; by default none does.
    virtual bool IsOtherFile(const QString& pathName) const;
    void AddToRecentFileList(const QString& pathName);
    QStringList GetRecentFiles() const { return m_recentFiles; }
    // Closes every document, storing what was typed into their windows first. When that fails
    // and `bAsk` is set, the user may keep the documents open: then false.
    bool CloseAllDocuments(bool bAsk);
    // Runs `commit` before something closes; false when it failed and the user, asked, keeps
    // it, or when the user chose, during the commit, to stay (then it returns false itself).
    bool CommitBeforeClose(const std::function<bool()>& commit, bool bAsk = true);
    std::vector<CDocument*> GetDocuments() const;

    // Runs a command along the route from the view's window (or the active one), reporting a
    // record-store failure that nobody caught.
    void DispatchCommand(CView* pView, unsigned nID);
    // Runs `work` and reports a record-store failure that escapes it; false when one did.
    bool RunGuarded(const std::function<void()>& work);

    CMDIFrameWnd* m_pMainWnd = nullptr;
    // What the program returns when start-up ends it (help, a wrong option, a file not opened).
    int m_nExitCode = 0;

    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    QPrinter* GetPrinter();

protected:
    // The command line's import and export, without a window; false when they failed, which
    // they report on standard error.
    virtual bool ImportFromCommandLine(const QString& source, const QString& document);
    virtual bool ExportFromCommandLine(const QString& target, const QString& document,
                                       const QString* contains);
    // The command line's copy of a whole document (FileCopy), without a window; the exit code.
    virtual int CopyFromCommandLine(const CCommandLineInfo& info);
    // Further lines for the open dialog's filter, as "Name|*.a;*.b|"; none by default.
    virtual QString OtherFileFilter() const;

    void OnAppExit();
    void OnOpenRecentFile(unsigned nID);

    DECLARE_MESSAGE_MAP()

private:
    void SaveRecentFiles() const;
    // Prints the command line's file without a window or a question; false when it failed,
    // which is reported on standard error.
    bool PrintFromCommandLine(const CCommandLineInfo& info);
    CDocument* OpenAsDocument(const QString& path);
    // Puts back the record store's own waiter, which blocks.
    void ForgetWaiter();
    // Checks the options that go with import and export; false, having said why, when they
    // do not fit together.
    bool CheckExchangeOptions(const CCommandLineInfo& info, bool bothWays, int documents);
    // Checks that an option asking for work of its own has its files, and that options going
    // only with another have it beside them; false, having said how to call it, otherwise.
    bool CheckOptionsBeside(const CCommandLineInfo& info, const CommandLineOption* command,
                            int files);

    QStringList m_arguments;
    QString m_strProgramName;
    std::vector<CommandLineOption> m_options;
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    QStringList m_recentFiles;
    unsigned m_nMaxMRU = 0;
    std::unique_ptr<QPrinter> m_pPrinter;
    std::unique_ptr<QObject> m_pPreTranslateFilter;
    std::unique_ptr<SingleInstance> m_pSingleInstance;
    std::unique_ptr<QObject> m_pChangeWatcher;
    std::unique_ptr<DaoWaiter> m_pWaiter;
};

CWinApp* AfxGetApp();

// Checks the command line, sets up Qt for the program (German texts in Qt's own dialogs), runs
// the application object's start-up and its message loop (see AfxWinMain.cpp).
int AfxWinMain(int argc, char** argv);
void AfxInstallGermanTranslation();
