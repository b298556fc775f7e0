#include "DesktopMain.h"

int main(int argc, char** argv) {
    return app::runDesktop(argc, argv);
}
