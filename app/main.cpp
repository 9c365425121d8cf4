#include <CWinApp.h>

#include "app/CPeriolexApp.h"
#include "app/CopyCommand.h"

#include <string_view>

// The one application object, made before the program starts, as the framework expects.
CPeriolexApp theApp;

int main(int argc, char** argv) {
    // Copying needs no window, no settings and no other running instance.
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--copy") {
            return RunCopyCommand(argc, argv);
        }
    }
    return AfxWinMain(argc, argv);
}
