#include "platform/mac_metadata.h"

#include <algorithm>

namespace mt {

namespace {

constexpr const char* kFinderInfoName = "com.apple.FinderInfo";
constexpr const char* kResourceForkName = "com.apple.ResourceFork";

std::optional<Bytes> ReadAttribute(FileSystem& fs, const std::string& path,
                                   const std::string& macName) {
    for (const auto& name : AttributeNameVariants(macName)) {
        if (auto value = fs.GetAttribute(path, name)) return value;
    }
    return std::nullopt;
}

bool IsVariantOf(const std::string& name, const std::string& macName) {
    const auto variants = AttributeNameVariants(macName);
    return std::find(variants.begin(), variants.end(), name) != variants.end();
}

// Every place of the fork but the HFS+ one.
std::optional<Bytes> ReadForkBeforeHfs(FileSystem& fs, const std::string& path) {
    if (auto native = fs.NativeResourceFork(path); native && !native->empty()) return native;
    if (auto attribute = ReadAttribute(fs, path, kResourceForkName)) return attribute;
    if (auto sidecar = ReadSidecar(fs, path); sidecar && sidecar->resourceFork) {
        return sidecar->resourceFork;
    }
    return std::nullopt;
}

// Linux's HFS+ driver shows a file's fork as the entry "rsrc" inside it. Elsewhere the one
// look fails at once: a file holds no entries. A folder's own "rsrc" file is no fork.
std::string HfsForkPath(const std::string& path) { return path + "/rsrc"; }

std::optional<Bytes> ReadHfsFork(FileSystem& fs, const std::string& path) {
    auto fork = ReadWholeFile(fs, HfsForkPath(path));
    if (!fork || fork->empty() || fs.Stat(path).isFolder) return std::nullopt;
    return fork;
}

uint64_t HfsForkLength(FileSystem& fs, const std::string& path) {
    const FileInfo info = fs.Stat(HfsForkPath(path));
    if (!info.exists || info.isFolder || info.isSymlink || info.size == 0) return 0;
    return fs.Stat(path).isFolder ? 0 : info.size;
}

}  // namespace

std::vector<std::string> AttributeNameVariants(const std::string& macName) {
    return {macName, "user." + macName, "osx." + macName};
}

bool IsFinderInfoAttribute(const std::string& name) { return IsVariantOf(name, kFinderInfoName); }

bool IsResourceForkAttribute(const std::string& name) {
    return IsVariantOf(name, kResourceForkName);
}

std::string SidecarPath(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return SidecarName(path);
    return path.substr(0, slash + 1) + SidecarName(path.substr(slash + 1));
}

std::optional<AppleDouble> ReadSidecar(FileSystem& fs, const std::string& path) {
    std::string sidecar = SidecarPath(path);
    FileInfo info = fs.Stat(sidecar);
    if (!info.exists || info.isFolder || info.isSymlink) return std::nullopt;
    auto bytes = ReadWholeFile(fs, sidecar);
    if (!bytes) return std::nullopt;
    return ParseAppleDouble(*bytes);
}

std::optional<Bytes> ReadFinderInfo(FileSystem& fs, const std::string& path) {
    if (auto native = fs.NativeFinderInfo(path)) return native;
    if (auto attribute = ReadAttribute(fs, path, kFinderInfoName)) return attribute;
    if (auto sidecar = ReadSidecar(fs, path)) return sidecar->finderInfo;
    return std::nullopt;
}

Bytes ReadMacType(FileSystem& fs, const std::string& path) {
    auto info = ReadFinderInfo(fs, path);
    if (!info || info->size() < 4) return {};
    Bytes type = info->substr(0, 4);
    if (type == Bytes(4, '\0')) return {};
    return type;
}

std::optional<Bytes> ReadResourceFork(FileSystem& fs, const std::string& path) {
    if (auto fork = ReadForkBeforeHfs(fs, path)) return fork;
    return ReadHfsFork(fs, path);
}

uint64_t ResourceForkLength(FileSystem& fs, const std::string& path) {
    if (auto fork = ReadForkBeforeHfs(fs, path)) return fork->size();
    return HfsForkLength(fs, path);
}

}  // namespace mt
