#pragma once

#include <QString>

// What the command line asks for.
class CCommandLineInfo {
public:
    enum ShellCommand {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        AppUnregister,
        FileNothing,
        FileImport,  // m_strOtherFile into the document m_strFileName
        FileExport   // the document m_strFileName into m_strOtherFile
    };

    bool m_bShowSplash = true;
    ShellCommand m_nShellCommand = FileNew;
    QString m_strFileName;
    QString m_strPrinterName;
    QString m_strOtherFile;
    // For FileExport: export only what a search for this text finds, when set.
    bool m_bContains = false;
    QString m_strContains;
    // Set when the command line was answered already (help, version, a wrong option).
    bool m_bHandled = false;
};
