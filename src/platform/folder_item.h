#pragma once
// A reference to a file or folder by path; the entry it names need not exist. It remembers
// the top folder of the volume it was made from, for the colon path and the volume name,
// and the result of its last move, copy or folder creation.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace mt {

// Told after each piece of a copy's data is written: bytes written so far, and of how many.
using CopyProgress = std::function<void(uint64_t done, uint64_t total)>;

class FolderItem {
public:
    // path on the volume whose top folder is volumeRoot (both absolute, "/" separators), in fs.
    FolderItem(std::string path, std::string volumeRoot, FileSystem& fs);
    // A volume's top folder, or a folder given as one.
    static FolderItem Volume(const std::string& path, FileSystem& fs);
    // Any folder; its volume's top is the highest folder above it on the same file system
    // (the same device, as fs tells). A path that names nothing is its own volume's top.
    static FolderItem OnItsVolume(const std::string& path, FileSystem& fs);

    // What the entry is, in one look: exists, folder, link, size, date. Nothing for a name
    // that leads nowhere.
    FileInfo Info() const;
    bool Exists() const;
    // A real folder; a symbolic link to one is not.
    bool IsFolder() const;
    bool IsSymlink() const;
    Bytes Name() const;
    // None for the volume's top folder.
    std::optional<FolderItem> Parent() const;
    // The entry of that name inside this folder, whether or not it exists. A "/" in the name
    // stands for ":" (as the Mac shows it); an empty name, ".", ".." or one holding a NUL byte
    // gives a reference that never exists and on which every operation fails.
    FolderItem Child(const Bytes& name) const;

    // Each sets the last error (0 on success).
    bool CreateAsFolder();
    // Moves this file into folder under its name, with its AppleDouble sidecar. Never
    // replaces an entry of the same name, and never moves a folder. The reference keeps
    // naming the old place. When the sidecar cannot follow, the file is moved back and the
    // sidecar's error is the result; if the way back fails too, the file stays in folder and
    // the result is still that error.
    bool MoveFileTo(const FolderItem& folder);
    // Copies this file, its extended attributes and its sidecar into folder under its name.
    // Mac metadata that the target does not take as extended attributes (a file system
    // without them), or that this file keeps elsewhere (Linux's HFS+ "name/rsrc"), goes into
    // a sidecar "._name" beside the copy, so none is lost. The data goes to a hidden
    // temporary in folder first and gets its name only when complete and its sidecar is in
    // place, so a failure never leaves a partial file, or a file without its metadata, under
    // the name; temporaries are removed on failure. Never replaces an entry of the same name,
    // the sidecar's included. progress, when given, is told after each piece of the data.
    bool CopyFileTo(const FolderItem& folder, const CopyProgress& progress = {});
    int LastErrorCode() const { return lastError_.code; }
    const std::string& LastErrorMessage() const { return lastError_.message; }

    // The path as a shell takes it ("/" separators, nothing escaped).
    const std::string& ShellPath() const { return path_; }
    // Volume name, then each folder, ":" separated; a folder's path ends with ":".
    std::string ColonPath() const;
    std::string VolumeName() const;
    const std::string& VolumeRoot() const { return volumeRoot_; }

    std::optional<TimePoint> CreationDate() const;
    uint64_t Length() const;
    uint64_t ResourceForkLength() const;
    Bytes MacType() const;
    std::optional<Bytes> ResourceFork() const;
    // Opens the data fork for reading; nullptr when it cannot be opened.
    std::unique_ptr<ReadableFile> OpenData() const;
    // The number of entries of the folder, hidden ones included.
    int Count() const;

    FileSystem& fileSystem() const { return *fs_; }

private:
    void SetError(FileError error) { lastError_ = std::move(error); }

    std::string path_;
    std::string volumeRoot_;
    FileSystem* fs_;
    bool invalid_ = false;
    FileError lastError_;
};

// Joins a folder path and a name with one "/".
std::string JoinPath(const std::string& folder, const std::string& name);
// The last component of a path ("/" for the root).
std::string LastComponent(const std::string& path);

}  // namespace mt
