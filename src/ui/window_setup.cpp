#include "ui/window_setup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "platform/mounted_volumes.h"
#include "ui/dialogs.h"

namespace mt {

std::vector<std::string> DefaultLogFolders() {
    std::vector<std::string> folders;
    const auto add = [&folders](const QString& base) {
        if (!base.isEmpty())
            folders.push_back(QFile::encodeName(QDir(base).filePath("logfiles")).toStdString());
    };
    add(QCoreApplication::applicationDirPath());
    add(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    return folders;
}

WindowSetup WithDefaults(WindowSetup setup) {
    if (!setup.fileSystem) setup.fileSystem = &RealFileSystem();
    if (!setup.volumes) setup.volumes = [fs = setup.fileSystem] { return MountedVolumes(*fs); };
    if (setup.logFolders.empty()) setup.logFolders = DefaultLogFolders();
    if (!setup.dialogs) setup.dialogs = &RealDialogs();
    if (!setup.messageBoxes) setup.messageBoxes = &RealMessageBoxes();
    return setup;
}

}  // namespace mt
