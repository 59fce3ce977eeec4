// Start-up of MacTarnwick. Until the full main window lands, this window lists the media
// folders of the mounted volumes with their status lines.

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QVBoxLayout>

#include "mediafolder/tarnwicker.h"
#include "platform/mounted_volumes.h"
#include "platform/text.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("MacTarnwick");

    QMainWindow window;
    window.setWindowTitle("MacTarnwick");
    window.resize(800, 391);
    auto* central = new QWidget(&window);
    auto* layout = new QVBoxLayout(central);
    auto* volumes = new QListWidget(central);
    for (const auto& volume : mt::MountedVolumes(mt::RealFileSystem())) {
        mt::Tarnwicker folder(volume, false);
        volumes->addItem(QString::fromStdString(mt::DisplayText(folder.DumpStatus())));
    }
    layout->addWidget(new QLabel("Volumes", central));
    layout->addWidget(volumes);
    layout->addWidget(new QLabel(
        "Sifting, copying and bins run from mactarnwick-cli until this window grows its tabs.",
        central));
    window.setCentralWidget(central);
    window.show();
    return QApplication::exec();
}
