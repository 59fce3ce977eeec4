// Takes the picture of the main window for the README: the window over the folders given as
// volumes, after its first scan, with the Projects tab shown and the first project selected,
// drawn offscreen into a PNG.
//   QT_QPA_PLATFORM=offscreen mactarnwick-screenshot OUT.png VOLUME...

#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>

#include "app/app.h"
#include "ui/window1.h"

namespace {
bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 30000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    mt::App app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: mactarnwick-screenshot OUT.png VOLUME...\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    std::vector<std::string> tops;
    for (int i = 2; i < argc; ++i) tops.push_back(QDir(argv[i]).absolutePath().toStdString());

    // Nothing is done that would write a log; the folder is a throwaway all the same.
    QTemporaryDir logs;
    mt::WindowSetup setup;
    setup.volumes = [tops] {
        std::vector<mt::FolderItem> volumes;
        for (const std::string& top : tops)
            volumes.push_back(mt::FolderItem::Volume(top, mt::RealFileSystem()));
        return volumes;
    };
    setup.logFolders = {logs.path().toStdString()};
    app.SetWindowSetup(setup);
    mt::Window1* window = app.MainWindow();

    auto* panel = window->findChild<QTabWidget*>("TabPanel1");
    if (!WaitFor([panel] { return panel->isEnabled(); })) {
        std::fprintf(stderr, "the first scan did not end\n");
        return 1;
    }
    panel->setCurrentIndex(1);
    auto* projects = window->findChild<QListWidget*>("ProjectList");
    if (projects->count() > 0) projects->item(0)->setSelected(true);
    QCoreApplication::processEvents();
    if (!window->grab().save(out)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s\n", argv[1]);
    return 0;
}
