// Start-up of MacTarnwick: the application object, its main window over this machine's file
// system and mounted volumes, the event loop.

#include "app/app.h"
#include "platform/mounted_volumes.h"
#include "ui/window1.h"

int main(int argc, char** argv) {
    mt::App app(argc, argv);
    mt::WindowSetup setup;
    setup.fileSystem = &mt::RealFileSystem();
    setup.volumes = [] { return mt::MountedVolumes(mt::RealFileSystem()); };
    app.SetWindowSetup(setup);
    app.MainWindow();
    return mt::App::exec();
}
