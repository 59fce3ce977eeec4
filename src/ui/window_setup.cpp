#include "ui/window_setup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

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

}  // namespace mt
