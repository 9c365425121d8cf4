#include <CWinApp.h>

#include "app/CPeriolexApp.h"

// The one application object, made before the program starts, as the framework expects.
CPeriolexApp theApp;

int main(int argc, char** argv) {
    return AfxWinMain(argc, argv);
}
