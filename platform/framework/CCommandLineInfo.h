#pragma once

#include <QString>

// What the command line asks for.
class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FilePrint, FilePrintTo, AppUnregister, FileNothing };

    bool m_bShowSplash = true;
    ShellCommand m_nShellCommand = FileNew;
    QString m_strFileName;
    QString m_strPrinterName;
    // Set when the command line was answered already (help, version, a wrong option).
    bool m_bHandled = false;
};
