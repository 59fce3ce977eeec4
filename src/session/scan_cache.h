#pragma once
// A file system that, while a volume scan runs, answers a second question about the same
// path from what the first one was told: a scan asks each media file for its existence, size,
// date and resource fork several times over (status lines, project rows, file rows), and a
// large volume would pay for every one. Between scans it only forwards, so the next scan sees
// whatever changed on disk meanwhile; any change made through it forgets everything.

#include <map>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/file_system.h"

namespace mt {

class ScanCache : public FileSystemWrapper {
public:
    explicit ScanCache(FileSystem& target) : FileSystemWrapper(target) {}

    // Starts remembering; End forgets and goes back to forwarding.
    void Begin();
    void End();

    FileInfo Stat(const std::string& path) override;
    std::optional<Bytes> GetAttribute(const std::string& path, const std::string& name) override;
    std::optional<Bytes> NativeFinderInfo(const std::string& path) override;
    std::optional<Bytes> NativeResourceFork(const std::string& path) override;

    FileError CreateFolder(const std::string& path) override;
    FileError Rename(const std::string& from, const std::string& to) override;
    std::unique_ptr<WritableFile> CreateNew(const std::string& path, FileError* error) override;
    FileError Remove(const std::string& path) override;
    FileError SetAttribute(const std::string& path, const std::string& name,
                           const Bytes& value) override;

private:
    struct Facts {
        std::optional<FileInfo> info;
        std::map<std::string, std::optional<Bytes>> attributes;
        std::optional<std::optional<Bytes>> finderInfo;
        std::optional<std::optional<Bytes>> resourceFork;
    };
    void Forget() { facts_.clear(); }

    bool active_ = false;
    std::unordered_map<std::string, Facts> facts_;
};

}  // namespace mt
