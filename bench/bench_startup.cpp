// Cold start until the main window is shown, against a bare Qt main window started the same way
// in the same run: each iteration forks a child that makes its QApplication, shows the window and
// ends. What the figures hold is everything Qt and the program do from their start on (fonts,
// platform plugin, styles, settings, menus); only the loading of the shared libraries is not.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>
#include "OffscreenBenchmarks.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

#include <ModalSeam.h>
#include "app/CPeriolexApp.h"

namespace {

int ShowBareWindow() {
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&Datei"));
    window.showMaximized();
    QCoreApplication::processEvents();
    return 0;
}

int ShowPeriolex(bool splash) {
    AfxInstallGermanTranslation();
    CPeriolexApp app;
    app.SetArguments(splash ? QStringList{} : QStringList{QStringLiteral("--nosplash")});
    const bool started = app.InitInstance();
    QCoreApplication::processEvents();
    return started ? 0 : 1;
}

// Runs `scenario` in a new process with its own QApplication; the time is the child's whole life.
template <class Scenario>
void InChild(benchmark::State& state, Scenario scenario) {
    for (auto _ : state) {
        const pid_t child = fork();
        if (child == 0) {
            static int argc = 1;
            static char name[] = "bench_startup";
            static char* argv[] = {name, nullptr};
            QApplication application(argc, argv);
            ModalSeam::Enable(true);
            _exit(scenario());
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the child did not start");
            break;
        }
    }
}

void BM_BareQtMainWindow(benchmark::State& state) {
    InChild(state, ShowBareWindow);
}

void BM_PeriolexStart(benchmark::State& state) {
    const bool splash = state.range(0) != 0;
    InChild(state, [splash] { return ShowPeriolex(splash); });
}

BENCHMARK(BM_BareQtMainWindow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PeriolexStart)
    ->ArgName("splash")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return RunOffscreenBenchmarks(argc, argv, false);
}
