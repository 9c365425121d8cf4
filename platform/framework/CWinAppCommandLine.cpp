// The application's command line: the table of options, their parsing and the help text. It is
// read before any window system is started, so it prints what it has to say itself.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <algorithm>
#include <cstdio>

#include "AfxRes.h"
#include "CWinApp.h"
#include "ResourceLookup.h"

namespace {

// The columns of a terminal that every line of the help fits into.
constexpr qsizetype kHelpWidth = 79;

const CommandLineOption kHelp{{QStringLiteral("h"), QStringLiteral("?"), QStringLiteral("help")},
                              AFX_IDS_CMDLINE_HELP};
const CommandLineOption kVersion{{QStringLiteral("v"), QStringLiteral("version")},
                                 AFX_IDS_CMDLINE_VERSION};

QString Dashed(const QString& name) {
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QCommandLineOption ParserOption(const CommandLineOption& option) {
    return option.valueNameId != 0
               ? QCommandLineOption(option.names, AfxLoadString(option.descriptionId),
                                    AfxLoadString(option.valueNameId))
               : QCommandLineOption(option.names, AfxLoadString(option.descriptionId));
}

// "-p, --print" or "--print-to <drucker>", as the help text lists the option.
QString Synopsis(const CommandLineOption& option) {
    QStringList names;
    for (const QString& name : option.names) {
        names << Dashed(name);
    }
    QString text = names.join(QStringLiteral(", "));
    if (option.valueNameId != 0) {
        text += QStringLiteral(" <") + AfxLoadString(option.valueNameId) + QLatin1Char('>');
    }
    if (option.argumentsId != 0) {
        text += QLatin1Char(' ') + AfxLoadString(option.argumentsId);
    }
    return text;
}

// The lines of `text` wrapped at word boundaries to `width` columns.
QStringList Wrapped(const QString& text, qsizetype width) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
            lines << line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    lines << line;
    return lines;
}

QString HelpText(const QString& program, const std::vector<CommandLineOption>& options) {
    QList<QPair<QString, QString>> rows;
    for (const CommandLineOption& option : options) {
        rows.append({Synopsis(option), AfxLoadString(option.descriptionId)});
    }
    const QPair<QString, QString> file{
        QLatin1Char('<') + AfxLoadString(AFX_IDS_CMDLINE_FILE_NAME) + QLatin1Char('>'),
        AfxLoadString(AFX_IDS_CMDLINE_FILE)};
    qsizetype width = file.first.size();
    for (const auto& row : rows) {
        width = std::max(width, row.first.size());
    }
    // The descriptions stand in a column of their own, wrapped to the terminal's usual width.
    const qsizetype indent = 2 + width + 2;
    const auto line = [width, indent](const QPair<QString, QString>& row) {
        const QStringList text = Wrapped(row.second, kHelpWidth - indent);
        return QStringLiteral("  ") + row.first.leftJustified(width + 2) +
               text.join(QLatin1Char('\n') + QString(indent, QLatin1Char(' '))) + QLatin1Char('\n');
    };
    QString text = AfxLoadString(AFX_IDS_CMDLINE_USAGE).arg(program) + QStringLiteral("\n\n") +
                   AfxLoadString(AFX_IDS_CMDLINE_OPTIONS) + QLatin1Char('\n');
    for (const auto& row : rows) {
        text += line(row);
    }
    return text + QLatin1Char('\n') + AfxLoadString(AFX_IDS_CMDLINE_ARGUMENTS) + QLatin1Char('\n') +
           line(file);
}

// Says in German what is wrong with the arguments; Qt's own words would be English.
QString ParseErrorText(const QString& program, const QCommandLineParser& parser,
                       const QStringList& arguments,
                       const std::vector<CommandLineOption>& options) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        return AfxLoadString(AFX_IDP_CMDLINE_UNKNOWN).arg(program, Dashed(unknown.constFirst()));
    }
    for (const CommandLineOption& option : options) {
        for (const QString& name : option.names) {
            if (option.valueNameId != 0 && arguments.constLast() == Dashed(name)) {
                return AfxLoadString(AFX_IDP_CMDLINE_NO_VALUE).arg(program, Dashed(name));
            }
        }
    }
    return AfxLoadString(AFX_IDP_CMDLINE_INVALID)
        .arg(program, arguments.mid(1).join(QLatin1Char(' ')));
}

}  // namespace

void CWinApp::AddCommandLineOption(const CommandLineOption& option) {
    m_options.push_back(option);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    std::vector<CommandLineOption> options{kHelp, kVersion};
    options.insert(options.end(), m_options.begin(), m_options.end());
    QCommandLineParser parser;
    for (const CommandLineOption& option : options) {
        parser.addOption(ParserOption(option));
    }
    parser.addPositionalArgument(AfxLoadString(AFX_IDS_CMDLINE_FILE_NAME),
                                 AfxLoadString(AFX_IDS_CMDLINE_FILE));

    const QString program = GetProgramName();
    QStringList arguments = m_arguments;
    arguments.prepend(program);
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(ParseErrorText(program, parser, arguments, options)));
        info.m_bHandled = true;
        m_nExitCode = 2;
        return;
    }
    if (parser.isSet(kHelp.names.constLast()) || parser.isSet(kVersion.names.constLast())) {
        std::fputs(qPrintable(parser.isSet(kHelp.names.constLast())
                                  ? HelpText(program, options)
                                  : AfxLoadString(AFX_IDS_APP_TITLE) + QLatin1Char(' ') +
                                        QCoreApplication::applicationVersion() + QLatin1Char('\n')),
                   stdout);
        info.m_bHandled = true;
        m_nExitCode = 0;
        return;
    }
    const CommandLineOption* command = nullptr;
    for (const CommandLineOption& option : m_options) {
        const QString& name = option.names.constLast();
        if (parser.isSet(name)) {
            info.m_options.insert(name, option.valueNameId != 0 ? parser.value(name) : QString());
            info.m_bWindowless = info.m_bWindowless || option.windowless;
            command = option.command && !command ? &option : command;
        }
    }
    const QStringList files = parser.positionalArguments();
    info.m_strFileName = files.isEmpty() ? QString() : files.constFirst();
    if (!CheckOptionsBeside(info, command, static_cast<int>(files.size()))) {
        info.m_bHandled = true;
        m_nExitCode = 2;
        return;
    }
    if (command) {
        info.m_nShellCommand = *command->command;
        info.m_strOtherFile = files.value(1);
        info.m_bShowSplash = false;
        return;
    }
    const bool import = info.m_options.contains(QStringLiteral("import"));
    const bool exportTo = info.m_options.contains(QStringLiteral("export"));
    if (import || exportTo) {
        info.m_nShellCommand = import ? CCommandLineInfo::FileImport : CCommandLineInfo::FileExport;
        info.m_strOtherFile =
            info.m_options.value(import ? QStringLiteral("import") : QStringLiteral("export"));
    } else if (info.m_options.contains(QStringLiteral("unregister"))) {
        info.m_nShellCommand = CCommandLineInfo::AppUnregister;
    } else if (info.m_options.contains(QStringLiteral("print-to"))) {
        info.m_nShellCommand = CCommandLineInfo::FilePrintTo;
        info.m_strPrinterName = info.m_options.value(QStringLiteral("print-to"));
    } else if (info.m_options.contains(QStringLiteral("print"))) {
        info.m_nShellCommand = CCommandLineInfo::FilePrint;
    } else {
        info.m_nShellCommand =
            files.isEmpty() ? CCommandLineInfo::FileNew : CCommandLineInfo::FileOpen;
    }
    info.m_bContains = info.m_options.contains(QStringLiteral("contains"));
    info.m_strContains = info.m_options.value(QStringLiteral("contains"));
    if (!CheckExchangeOptions(info, import && exportTo, static_cast<int>(files.size()))) {
        info.m_bHandled = true;
        m_nExitCode = 2;
        return;
    }
    // Only a start that shows the program shows the splash picture.
    info.m_bShowSplash = !info.m_options.contains(QStringLiteral("nosplash")) &&
                         (info.m_nShellCommand == CCommandLineInfo::FileNew ||
                          info.m_nShellCommand == CCommandLineInfo::FileOpen);
}

bool CWinApp::CheckOptionsBeside(const CCommandLineInfo& info, const CommandLineOption* command,
                                 int files) {
    for (const CommandLineOption& option : m_options) {
        const QString& name = option.names.constLast();
        const bool misplaced =
            info.m_options.contains(name) &&
            ((!option.onlyWith.isEmpty() && !info.m_options.contains(option.onlyWith)) ||
             (&option == command && files != option.files));
        if (misplaced) {
            std::fprintf(stderr, "%s\n", qPrintable(AfxLoadString(option.usageId)));
            return false;
        }
    }
    return true;
}

QString CWinApp::GetProgramName() const {
    return m_strProgramName.isEmpty() ? AfxLoadString(AFX_IDS_APP_TITLE).toLower()
                                      : m_strProgramName;
}
