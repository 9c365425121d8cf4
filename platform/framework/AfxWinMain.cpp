// The program's entry: the command line is checked before anything needs a window system, so
// that a mistake or a missing display ends the program with a message and an exit code rather
// than with Qt's abort.
#include <algorithm>
#include <utility>

#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

#include <RuntimeDirectory.h>

#include "AfxRes.h"
#include "CWinApp.h"
#include "ResourceLookup.h"

namespace {

// Qt's own options (-platform, -style, -display, ...) are Qt's to take; the program's
// parser must not call them unknown. Each is listed with whether a value follows it.
constexpr std::pair<std::string_view, bool> kQtOptions[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true},
    {"qwindowtitle", true},    {"session", true},
    {"style", true},           {"stylesheet", true},
    {"display", true},         {"geometry", true},
    {"reverse", false},        {"widgetcount", false},
    {"nograb", false},         {"dograb", false},
    {"sync", false},
};

QStringList ProgramArguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg(argv[i]);
        if (arg.size() > 1 && arg[0] == '-' && arg[1] != '-') {
            const std::string_view name = arg.substr(1);
            const auto* qt = std::find_if(std::begin(kQtOptions), std::end(kQtOptions),
                                          [name](const auto& o) { return o.first == name; });
            if (qt != std::end(kQtOptions)) {
                i += qt->second ? 1 : 0;
                continue;
            }
        }
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

// Whether anything names a window system to connect to; Qt's -platform and -display options
// count as well as the environment.
bool DisplayNamed(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg == "-platform" || arg == "-display") {
            return true;
        }
    }
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
           qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

QString s_noDisplayLine;
QtMessageHandler s_previousHandler = nullptr;
QList<QPair<QtMsgType, QString>> s_heldMessages;

// While Qt connects to the window system: a display that does not answer ends in Qt's fatal
// error, which aborts with a core dump; it ends here with the program's own line instead. What
// Qt says before that is held back and passed on once the start succeeded.
void StartupMessageHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(s_noDisplayLine));
        std::_Exit(1);
    }
    s_heldMessages.append({type, message});
}

void StartApplication(std::optional<QApplication>& application, int& argc, char** argv) {
    s_noDisplayLine = AfxLoadString(AFX_IDP_NO_DISPLAY).arg(AfxGetApp()->GetProgramName());
    s_previousHandler = qInstallMessageHandler(StartupMessageHandler);
    application.emplace(argc, argv);
    qInstallMessageHandler(s_previousHandler);
    for (const auto& [type, message] : std::as_const(s_heldMessages)) {
        qt_message_output(type, QMessageLogContext(), message);
    }
    s_heldMessages.clear();
}

}  // namespace

int AfxWinMain(int argc, char** argv) {
    ProvideRuntimeDirectory();
    CWinApp* app = AfxGetApp();
    app->InitApplication();
    app->SetProgramName(QFileInfo(QString::fromLocal8Bit(argv[0])).fileName());
    app->SetArguments(ProgramArguments(argc, argv));
    CCommandLineInfo info;
    app->ParseCommandLine(info);
    if (info.m_bHandled) {
        return app->m_nExitCode;
    }
    if (info.m_bWindowless) {
        // Printing and the like draw off screen; they need Qt's painting, not a display, and a
        // stale DISPLAY left over from an ssh login or named in a cron job must not stop them.
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else if (!DisplayNamed(argc, argv)) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(AfxLoadString(AFX_IDP_NO_DISPLAY).arg(app->GetProgramName())));
        return 1;
    }
    std::optional<QApplication> application;
    StartApplication(application, argc, argv);
    AfxInstallGermanTranslation();
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    app->SetArguments(arguments);
    const int result = app->InitInstance() ? app->Run() : app->m_nExitCode;
    app->ExitInstance();
    return result;
}
