// Start-up of MacTarnwick: the application object, its main window, the event loop.

#include "app/app.h"
#include "ui/window1.h"

int main(int argc, char** argv) {
    mt::App app(argc, argv);
    app.MainWindow();
    return mt::App::exec();
}
