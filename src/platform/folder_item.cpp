#include "platform/folder_item.h"

#include <atomic>
#include <cerrno>
#include <filesystem>

#include "platform/apple_double.h"
#include "platform/mac_metadata.h"

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

namespace mt {

namespace {

constexpr size_t kCopyChunk = 1 << 20;

std::string Normalized(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

bool IsInvalidName(const Bytes& name) {
    return name.empty() || name == "." || name == ".." || name.find('\0') != Bytes::npos;
}

FileError InvalidNameError() { return {kInvalidNameCode, "Invalid name"}; }

// How much of a file's name its copy's temporary takes: with the dot, the counter and the
// ending, the temporary's name stays within the 255 bytes a name may have.
constexpr size_t kTemporaryNameStem = 180;

std::string TemporaryName(const std::string& name) {
    static std::atomic<unsigned> counter{0};
    // The stem is cut at a character boundary, so the temporary's name stays valid UTF-8.
    size_t stem = std::min(name.size(), kTemporaryNameStem);
    while (stem > 0 && stem < name.size() &&
           (static_cast<unsigned char>(name[stem]) & 0xC0) == 0x80) {
        --stem;
    }
#if defined(__unix__) || defined(__APPLE__)
    long pid = static_cast<long>(::getpid());
#else
    long pid = 0;
#endif
    return "." + name.substr(0, stem) + ".mactarnwick-" + std::to_string(pid) + "-" +
           std::to_string(counter.fetch_add(1)) + ".part";
}

// Copies the bytes of one file to a new file at target, telling progress after each piece;
// removes target on failure.
FileError CopyData(FileSystem& fs, const std::string& source, const std::string& target,
                   const CopyProgress& progress) {
    FileError error;
    auto in = fs.OpenRead(source, &error);
    if (!in) return error;
    auto out = fs.CreateNew(target, &error);
    if (!out) return error;
    std::string buffer(kCopyChunk, '\0');
    uint64_t length = in->Length();
    uint64_t position = 0;
    while (position < length) {
        size_t want = static_cast<size_t>(std::min<uint64_t>(kCopyChunk, length - position));
        size_t got = in->ReadAt(position, buffer.data(), want);
        if (got == 0) {
            error = {kOtherErrorBase + 5, "The source file could not be read to its end"};
            break;
        }
        error = out->Write(buffer.data(), got);
        if (!error.ok()) break;
        position += got;
        if (progress) progress(position, length);
    }
    if (error.ok()) error = out->Finish();
    out.reset();
    if (!error.ok()) fs.Remove(target);
    return error;
}

// Writes bytes as a new file at target; removes it on failure.
FileError WriteNewFile(FileSystem& fs, const std::string& target, const Bytes& bytes) {
    FileError error;
    auto out = fs.CreateNew(target, &error);
    if (!out) return error;
    error = out->Write(bytes.data(), bytes.size());
    if (error.ok()) error = out->Finish();
    out.reset();
    if (!error.ok()) fs.Remove(target);
    return error;
}

// Copies the user extended attributes of source onto target. Gives the Finder info and the
// resource fork that target refused, and notes which of them it took.
AppleDouble CopyAttributes(FileSystem& fs, const std::string& source, const std::string& target,
                           bool& finderInfoTaken, bool& forkTaken) {
    AppleDouble refused;
    for (const auto& name : fs.ListAttributes(source)) {
        // Only user metadata travels; security labels belong to the machine.
        if (name.rfind("security.", 0) == 0 || name.rfind("system.", 0) == 0 ||
            name.rfind("trusted.", 0) == 0) {
            continue;
        }
        auto value = fs.GetAttribute(source, name);
        if (!value) continue;
        const bool taken = fs.SetAttribute(target, name, *value).ok();
        if (IsFinderInfoAttribute(name)) {
            if (taken) finderInfoTaken = true;
            if (!taken && !refused.finderInfo) refused.finderInfo = std::move(value);
        } else if (IsResourceForkAttribute(name)) {
            if (taken) forkTaken = true;
            if (!taken && !refused.resourceFork) refused.resourceFork = std::move(value);
        }
    }
    return refused;
}

bool IsPlainFile(FileSystem& fs, const std::string& path) {
    FileInfo info = fs.Stat(path);
    return info.exists && !info.isFolder && !info.isSymlink;
}

}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::string LastComponent(const std::string& path) {
    if (path == "/") return "/";
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

FolderItem::FolderItem(std::string path, std::string volumeRoot, FileSystem& fs)
    : path_(Normalized(std::move(path))),
      volumeRoot_(Normalized(std::move(volumeRoot))),
      fs_(&fs) {}

FolderItem FolderItem::Volume(const std::string& path, FileSystem& fs) {
    return FolderItem(path, path, fs);
}

FolderItem FolderItem::OnItsVolume(const std::string& path, FileSystem& fs) {
    std::string root = Normalized(path);
    const FileInfo info = fs.Stat(root);
    if (info.device) {
        while (root != "/") {
            const size_t slash = root.rfind('/');
            if (slash == std::string::npos) break;
            const std::string up = slash == 0 ? "/" : root.substr(0, slash);
            if (fs.Stat(up).device != info.device) break;
            root = up;
        }
    } else if (info.exists) {
        // Where the file system tells no devices, the volume is the path's root ("C:/").
        auto text = std::filesystem::u8path(root).root_path().u8string();
        if (!text.empty()) root.assign(text.begin(), text.end());
    }
    return FolderItem(path, root, fs);
}

FileInfo FolderItem::Info() const {
    if (invalid_) return {};
    return fs_->Stat(path_);
}

bool FolderItem::Exists() const { return Info().exists; }
bool FolderItem::IsFolder() const { return Info().isFolder; }
bool FolderItem::IsSymlink() const { return Info().isSymlink; }
Bytes FolderItem::Name() const { return LastComponent(path_); }

std::optional<FolderItem> FolderItem::Parent() const {
    if (path_ == volumeRoot_ || path_ == "/" || path_.empty()) return std::nullopt;
    size_t slash = path_.rfind('/');
    if (slash == std::string::npos) return std::nullopt;
    std::string up = slash == 0 ? "/" : path_.substr(0, slash);
    FolderItem parent(up, volumeRoot_, *fs_);
    return parent;
}

FolderItem FolderItem::Child(const Bytes& name) const {
    Bytes onDisk = name;
    for (char& c : onDisk) {
        if (c == '/') c = ':';
    }
    FolderItem child(JoinPath(path_, onDisk), volumeRoot_, *fs_);
    child.invalid_ = invalid_ || IsInvalidName(name);
    // Keep an empty name visible as such instead of naming the folder itself.
    if (child.invalid_) child.path_ = JoinPath(path_, onDisk);
    return child;
}

bool FolderItem::CreateAsFolder() {
    SetError(invalid_ ? InvalidNameError() : fs_->CreateFolder(path_));
    return lastError_.ok();
}

bool FolderItem::MoveFileTo(const FolderItem& folder) {
    if (invalid_ || folder.invalid_) {
        SetError(InvalidNameError());
        return false;
    }
    // Only files move: a name that turns out to be a folder (a database record may name one)
    // would carry a whole folder of media where no scan looks for it.
    if (fs_->Stat(path_).isFolder) {
        SetError(ErrorFromSystem(EISDIR));
        return false;
    }
    const std::string target = JoinPath(folder.path_, Name());
    FileError error = fs_->Rename(path_, target);
    if (error.code == kFileNotFoundCode && fs_->Stat(path_).exists) {
        error.code = kDestinationMissingCode;
    }
    if (error.ok()) {
        const std::string sidecar = SidecarPath(path_);
        if (IsPlainFile(*fs_, sidecar)) {
            FileError sidecarError = fs_->Rename(sidecar, SidecarPath(target));
            // A file that cannot take its metadata along goes back where it was. The move
            // counts as failed also when the way back is blocked: file and sidecar lie apart.
            if (!sidecarError.ok()) {
                fs_->Rename(target, path_);
                error = sidecarError;
            }
        }
    }
    SetError(error);
    return lastError_.ok();
}

bool FolderItem::CopyFileTo(const FolderItem& folder, const CopyProgress& progress) {
    if (invalid_ || folder.invalid_) {
        SetError(InvalidNameError());
        return false;
    }
    const std::string name = Name();
    const std::string target = JoinPath(folder.path_, name);
    if (fs_->Stat(target).exists) {
        SetError({kFileExistsCode, "File exists"});
        return false;
    }
    const std::string temporary = JoinPath(folder.path_, TemporaryName(name));
    FileError error = CopyData(*fs_, path_, temporary, progress);
    // "Not found" while the source is there means the target folder is missing.
    if (error.code == kFileNotFoundCode && fs_->Stat(path_).exists) {
        error.code = kDestinationMissingCode;
    }
    const std::string sidecar = SidecarPath(path_);
    const std::string sidecarTarget = SidecarPath(target);
    std::string sidecarTemporary;
    if (error.ok()) {
        bool finderInfoTaken = false, forkTaken = false;
        AppleDouble unplaced = CopyAttributes(*fs_, path_, temporary, finderInfoTaken, forkTaken);
        const bool hasSidecar = IsPlainFile(*fs_, sidecar);
        const std::optional<AppleDouble> own = hasSidecar ? ReadSidecar(*fs_, path_) : std::nullopt;
        // Metadata that neither the attributes nor the sidecar carry (an HFS+ fork, macOS's
        // own) must reach the copy too.
        if (!finderInfoTaken && !unplaced.finderInfo && !(own && own->finderInfo)) {
            unplaced.finderInfo = ReadFinderInfo(*fs_, path_);
        }
        if (!forkTaken && !unplaced.resourceFork && !(own && own->resourceFork)) {
            unplaced.resourceFork = ReadResourceFork(*fs_, path_);
        }
        const bool makeSidecar = unplaced.finderInfo || unplaced.resourceFork;
        if (makeSidecar || hasSidecar) {
            // A copy never pairs with a sidecar that is not its own.
            if (fs_->Stat(sidecarTarget).exists) {
                error = {kFileExistsCode, "File exists"};
            } else {
                sidecarTemporary = JoinPath(folder.path_, TemporaryName(SidecarName(name)));
                if (makeSidecar) {
                    // The file's own sidecar with what did not fit laid over it; entries
                    // other than the Finder info and the fork are not kept then.
                    AppleDouble merged = own.value_or(AppleDouble{});
                    if (unplaced.finderInfo) merged.finderInfo = std::move(unplaced.finderInfo);
                    if (unplaced.resourceFork) {
                        merged.resourceFork = std::move(unplaced.resourceFork);
                    }
                    error = WriteNewFile(*fs_, sidecarTemporary, EncodeAppleDouble(merged));
                } else {
                    error = CopyData(*fs_, sidecar, sidecarTemporary, {});
                }
                if (!error.ok()) sidecarTemporary.clear();
            }
        }
    }
    // The sidecar gets its name first and the data last, so that the file never appears
    // under its name without its metadata; a copy whose sidecar cannot follow is not made.
    bool sidecarPlaced = false;
    if (error.ok() && !sidecarTemporary.empty()) {
        error = fs_->Rename(sidecarTemporary, sidecarTarget);
        sidecarPlaced = error.ok();
    }
    if (error.ok()) error = fs_->Rename(temporary, target);
    if (!error.ok()) {
        fs_->Remove(temporary);
        if (!sidecarTemporary.empty())
            fs_->Remove(sidecarPlaced ? sidecarTarget : sidecarTemporary);
        SetError(error);
        return false;
    }
    SetError({});
    return true;
}

std::string FolderItem::VolumeName() const { return LastComponent(volumeRoot_); }

std::string FolderItem::ColonPath() const {
    std::string result = VolumeName();
    // A ":" in a name on disk is a "/" in the Mac's colon form.
    for (char& c : result) {
        if (c == ':') c = '/';
    }
    result += ":";
    std::string relative;
    if (path_.size() > volumeRoot_.size() &&
        path_.compare(0, volumeRoot_.size(), volumeRoot_) == 0) {
        relative = path_.substr(volumeRoot_.size());
    } else if (path_ != volumeRoot_) {
        relative = path_;
    }
    bool first = true;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find('/', start);
        if (end == std::string::npos) end = relative.size();
        std::string component = relative.substr(start, end - start);
        if (!component.empty()) {
            // A ":" in a name on disk is a "/" in the Mac's colon form.
            for (char& c : component) {
                if (c == ':') c = '/';
            }
            if (!first) result += ":";
            result += component;
            first = false;
        }
        start = end + 1;
    }
    if (!first && IsFolder()) result += ":";
    return result;
}

std::optional<TimePoint> FolderItem::CreationDate() const {
    FileInfo info = Info();
    if (!info.exists) return std::nullopt;
    return info.created;
}

uint64_t FolderItem::Length() const { return Info().size; }

uint64_t FolderItem::ResourceForkLength() const {
    return invalid_ ? 0 : mt::ResourceForkLength(*fs_, path_);
}

Bytes FolderItem::MacType() const { return invalid_ ? Bytes() : ReadMacType(*fs_, path_); }

std::optional<Bytes> FolderItem::ResourceFork() const {
    if (invalid_) return std::nullopt;
    return ReadResourceFork(*fs_, path_);
}

std::unique_ptr<ReadableFile> FolderItem::OpenData() const {
    if (invalid_) return nullptr;
    FileError error;
    return fs_->OpenRead(path_, &error);
}

int FolderItem::Count() const {
    if (invalid_) return 0;
    return static_cast<int>(fs_->List(path_).size());
}

}  // namespace mt
