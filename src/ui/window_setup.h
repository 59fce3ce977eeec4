#pragma once
// What a Window1 is made with: the session's file system, volumes and log folders, and the
// dialogs it asks the user with. Every member left empty takes the real one, so the
// application passes nothing and tests replace what they drive.

#include <string>
#include <vector>

#include "session/session.h"

namespace mt {

class Dialogs;
class MessageBoxes;

struct WindowSetup {
    FileSystem* fileSystem = nullptr;      // RealFileSystem()
    VolumeSource volumes;                  // the machine's mounted volumes
    std::vector<std::string> logFolders;   // DefaultLogFolders()
    Dialogs* dialogs = nullptr;            // RealDialogs()
    MessageBoxes* messageBoxes = nullptr;  // RealMessageBoxes()
};

// "logfiles" beside the application, then "logfiles" in the user's application data folder.
std::vector<std::string> DefaultLogFolders();

// setup with every empty member replaced by the real one.
WindowSetup WithDefaults(WindowSetup setup);

}  // namespace mt
