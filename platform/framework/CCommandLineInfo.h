#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// One option the command line knows, for parsing and for the help text. Names without dashes;
// one letter is a short option ("-p"), longer ones are long options ("--print").
struct CommandLineOption {
    QStringList names;
    unsigned descriptionId = 0;  // string table: what the option does
    unsigned valueNameId = 0;    // string table: the name of its value; 0 for a switch
    // The work it asks for shows no window, so it runs without a window system.
    bool windowless = false;
    // string table: the arguments it stands before, as the help text shows them ("<a> <b>"),
    // where they are no value of its own (the parser never sees the option then); 0 for none.
    unsigned argumentsId = 0;
};

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
    // Every option given, by its last (longest) name, with its value (empty for a switch).
    QMap<QString, QString> m_options;
    // Set when an option given needs no window system.
    bool m_bWindowless = false;
    // Set when the command line was answered already (help, version, a wrong option).
    bool m_bHandled = false;
};
