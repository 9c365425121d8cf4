#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

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
        FileExport,  // the document m_strFileName into m_strOtherFile
        FileCopy     // the document m_strFileName as a whole to m_strOtherFile
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

// One option the command line knows, for parsing and for the help text. Names without dashes;
// one letter is a short option ("-p"), longer ones are long options ("--print").
struct CommandLineOption {
    CommandLineOption(QStringList optionNames, unsigned description, unsigned valueName = 0,
                      bool noWindow = false)
        : names(std::move(optionNames)),
          descriptionId(description),
          valueNameId(valueName),
          windowless(noWindow) {}

    QStringList names;
    unsigned descriptionId = 0;  // string table: what the option does
    unsigned valueNameId = 0;    // string table: the name of its value; 0 for a switch
    // The work it asks for shows no window, so it runs without a window system.
    bool windowless = false;
    // An option that asks for work of its own sets this shell command and takes exactly
    // `files` files; `usageId` (string table) says how to call it when the files or the options
    // beside it do not fit.
    std::optional<CCommandLineInfo::ShellCommand> command;
    int files = 0;
    unsigned usageId = 0;
    // The option (its last name) that this one only goes with, if any.
    QString onlyWith;
    // string table: the files it takes, as the help text shows them ("<a> <b>"); 0 for none.
    unsigned argumentsId = 0;
};
