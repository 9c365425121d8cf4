#include <CWinApp.h>

#include <csignal>

#include "app/CPeriolexApp.h"

// The one application object, made before the program starts, as the framework expects.
CPeriolexApp theApp;

int main(int argc, char** argv) {
    // A server or pipe that hung up is an error of the write that met it, told in German, never
    // the end of the program with whatever the user typed.
    std::signal(SIGPIPE, SIG_IGN);
    return AfxWinMain(argc, argv);
}
