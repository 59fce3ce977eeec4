// The single-file moves and copies of MediaFile, and the transfer step they share.

#include "catalogue/folder_item_extension.h"
#include "catalogue/media_file.h"
#include "catalogue/media_names.h"
#include "platform/text.h"

namespace mt {

namespace {

enum class Transfer { Move, Copy };

// Moves or copies source into target; the message, empty on success.
std::string TransferStep(FolderItem& source, FolderItem target, Transfer kind,
                         const CopyProgress& progress = {}) {
    FileInfo info = target.Info();
    if (!info.exists) {
        target.CreateAsFolder();
        info = target.Info();
    }
    std::string message;
    if (!info.isFolder) {
        message = "Invalid target " + target.ShellPath();
    } else if (target.Child(source.Name()).Exists()) {
        message = "File exists already on destination";
    } else {
        bool done = kind == Transfer::Move ? source.MoveFileTo(target)
                                           : source.CopyFileTo(target, progress);
        if (!done) {
            message = FolderItemExtension::LastErrorString(source);
            // A failure outside the six named codes is still a failure, never a success.
            if (source.LastErrorCode() == kFileExistsCode) {
                message = "File exists already on destination";
            } else if (message.empty()) {
                message = "Error: " + source.LastErrorMessage();
            }
        }
    }
    if (message.empty()) return message;
    return message + " " + source.ShellPath();
}

bool IsMediaFolder(const std::optional<FolderItem>& folder) {
    return folder && EqualsIgnoringCase(folder->Name(), kMediaFolderName);
}

}  // namespace

Bytes MediaFile::SiftedFolderName() const {
    return fileproject.value_or(project) + Bytes(kSiftedSuffix);
}

void MediaFile::SiftFile() {
    SiftedFolderFinder folders;
    SiftFile(folders);
}

void MediaFile::SiftFile(SiftedFolderFinder& folders) {
    error.clear();
    if (!file || !file->Exists()) return;
    auto parent = file->Parent();
    if (!IsMediaFolder(parent)) return;
    error = TransferStep(*file, folders.Find(*parent, SiftedFolderName()), Transfer::Move);
}

void MediaFile::UnsiftFile() {
    error.clear();
    if (!file || !file->Exists()) return;
    auto parent = file->Parent();
    if (!parent) return;
    auto mediaFolder = parent->Parent();
    if (!IsMediaFolder(mediaFolder)) return;
    error = TransferStep(*file, *mediaFolder, Transfer::Move);
}

void MediaFile::CopyFile(const FolderItem& target, const CopyProgress& progress) {
    error.clear();
    if (!file || !file->Exists()) return;
    error = TransferStep(*file, target, Transfer::Copy, progress);
}

}  // namespace mt
