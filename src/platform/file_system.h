#pragma once
// The one seam between MacTarnwick and the file system. Every listing, metadata read,
// move, copy and folder creation goes through a FileSystem, so that tests can wrap the
// real one and make any single call fail. RealFileSystem() is the one the program uses.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/text.h"

namespace mt {

// Result of a file operation. code is 0 on success, one of the codes 100 to 105 for the
// failures the catalogue names, kFileExistsCode when the target name is taken, and
// kOtherErrorBase + the system's error number otherwise; message is the system's own text.
struct FileError {
    int code = 0;
    std::string message;
    bool ok() const { return code == 0; }
};

constexpr int kDestinationMissingCode = 100;
constexpr int kFileNotFoundCode = 101;
constexpr int kAccessDeniedCode = 102;
constexpr int kOutOfMemoryCode = 103;
constexpr int kFileInUseCode = 104;
constexpr int kInvalidNameCode = 105;
constexpr int kFileExistsCode = 183;
constexpr int kOtherErrorBase = 1000;

// Turns a system error number into a FileError. The only place where that happens.
FileError ErrorFromSystem(int errnum);

using TimePoint = std::chrono::system_clock::time_point;

struct FileInfo {
    bool exists = false;
    bool isFolder = false;   // a real folder, not a link to one
    bool isSymlink = false;  // the entry itself is a symbolic link
    uint64_t size = 0;
    std::optional<TimePoint> created;
    // The mounted file system that holds the entry; nullopt where the platform does not say.
    std::optional<uint64_t> device;
};

// One line of the system's table of mounted file systems, as it stands there.
struct MountEntry {
    std::string device;      // what identifies the mounted file system ("8:1", "/dev/sda1")
    std::string mountPoint;  // the folder it is mounted on, unescaped
    std::string type;        // the file-system type ("ext4", "vfat", "cifs", "apfs", ...)
};

struct DirEntry {
    Bytes name;
    bool isFolder = false;
    bool isSymlink = false;
};

// A file opened for reading. ReadAt gives fewer bytes than asked near the end, none past it.
class ReadableFile {
public:
    virtual ~ReadableFile() = default;
    virtual uint64_t Length() const = 0;
    virtual size_t ReadAt(uint64_t position, char* buffer, size_t count) = 0;
};

// A new file being written. Nothing is durable until Finish succeeds.
class WritableFile {
public:
    virtual ~WritableFile() = default;
    virtual FileError Write(const char* data, size_t count) = 0;
    // Flushes the data to the disk and closes the file.
    virtual FileError Finish() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // What the entry at path is, without following a final symbolic link.
    virtual FileInfo Stat(const std::string& path) = 0;
    // The entries of a folder in a fixed order; empty when it cannot be listed.
    virtual std::vector<DirEntry> List(const std::string& folder) = 0;
    virtual FileError CreateFolder(const std::string& path) = 0;
    // Renames within one volume. Never replaces an existing entry: kFileExistsCode then.
    virtual FileError Rename(const std::string& from, const std::string& to) = 0;
    // Opens a regular file for reading; a symbolic link is not followed.
    virtual std::unique_ptr<ReadableFile> OpenRead(const std::string& path, FileError* error) = 0;
    // Creates a file that must not exist yet, readable and writable by its owner.
    virtual std::unique_ptr<WritableFile> CreateNew(const std::string& path, FileError* error) = 0;
    virtual FileError Remove(const std::string& path) = 0;
    // Extended attributes; empty or nullopt where the platform or file has none.
    virtual std::vector<std::string> ListAttributes(const std::string& path) = 0;
    virtual std::optional<Bytes> GetAttribute(const std::string& path, const std::string& name) = 0;
    virtual FileError SetAttribute(const std::string& path, const std::string& name,
                                   const Bytes& value) = 0;
    // Mac data that the platform keeps natively (macOS); nullopt elsewhere.
    virtual std::optional<Bytes> NativeFinderInfo(const std::string& path) = 0;
    virtual std::optional<Bytes> NativeResourceFork(const std::string& path) = 0;
    // The absolute path that path names with every symbolic link followed; nullopt when it
    // names nothing. For what the user picks, never for what lies inside a media folder.
    virtual std::optional<std::string> Resolve(const std::string& path) = 0;
    // Every file system mounted on this machine, in the system's order, pseudo file systems
    // and bind mounts included; empty where the platform keeps no such table.
    virtual std::vector<MountEntry> MountTable() = 0;
};

// The file system of this machine. Lives for the whole run.
FileSystem& RealFileSystem();

// Forwards every call to another FileSystem; tests derive from it and break one call.
class FileSystemWrapper : public FileSystem {
public:
    explicit FileSystemWrapper(FileSystem& target) : target_(target) {}
    FileInfo Stat(const std::string& p) override { return target_.Stat(p); }
    std::vector<DirEntry> List(const std::string& f) override { return target_.List(f); }
    FileError CreateFolder(const std::string& p) override { return target_.CreateFolder(p); }
    FileError Rename(const std::string& a, const std::string& b) override {
        return target_.Rename(a, b);
    }
    std::unique_ptr<ReadableFile> OpenRead(const std::string& p, FileError* e) override {
        return target_.OpenRead(p, e);
    }
    std::unique_ptr<WritableFile> CreateNew(const std::string& p, FileError* e) override {
        return target_.CreateNew(p, e);
    }
    FileError Remove(const std::string& p) override { return target_.Remove(p); }
    std::vector<std::string> ListAttributes(const std::string& p) override {
        return target_.ListAttributes(p);
    }
    std::optional<Bytes> GetAttribute(const std::string& p, const std::string& n) override {
        return target_.GetAttribute(p, n);
    }
    FileError SetAttribute(const std::string& p, const std::string& n, const Bytes& v) override {
        return target_.SetAttribute(p, n, v);
    }
    std::optional<Bytes> NativeFinderInfo(const std::string& p) override {
        return target_.NativeFinderInfo(p);
    }
    std::optional<Bytes> NativeResourceFork(const std::string& p) override {
        return target_.NativeResourceFork(p);
    }
    std::optional<std::string> Resolve(const std::string& p) override { return target_.Resolve(p); }
    std::vector<MountEntry> MountTable() override { return target_.MountTable(); }

protected:
    FileSystem& target_;
};

// Reads a whole file; nullopt when it cannot be opened.
std::optional<Bytes> ReadWholeFile(FileSystem& fs, const std::string& path);

}  // namespace mt
