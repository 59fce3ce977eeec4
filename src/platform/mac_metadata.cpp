#include "platform/mac_metadata.h"

#include "platform/apple_double.h"

namespace mt {

namespace {

std::optional<Bytes> ReadAttribute(FileSystem& fs, const std::string& path,
                                   const std::string& macName) {
    for (const auto& name : AttributeNameVariants(macName)) {
        if (auto value = fs.GetAttribute(path, name)) return value;
    }
    return std::nullopt;
}

std::optional<AppleDouble> ReadSidecar(FileSystem& fs, const std::string& path) {
    std::string sidecar = SidecarPath(path);
    FileInfo info = fs.Stat(sidecar);
    if (!info.exists || info.isFolder || info.isSymlink) return std::nullopt;
    auto bytes = ReadWholeFile(fs, sidecar);
    if (!bytes) return std::nullopt;
    return ParseAppleDouble(*bytes);
}

}  // namespace

std::vector<std::string> AttributeNameVariants(const std::string& macName) {
    return {macName, "user." + macName, "osx." + macName};
}

std::string SidecarPath(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return SidecarName(path);
    return path.substr(0, slash + 1) + SidecarName(path.substr(slash + 1));
}

std::optional<Bytes> ReadFinderInfo(FileSystem& fs, const std::string& path) {
    if (auto native = fs.NativeFinderInfo(path)) return native;
    if (auto attribute = ReadAttribute(fs, path, "com.apple.FinderInfo")) return attribute;
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
    if (auto native = fs.NativeResourceFork(path); native && !native->empty()) return native;
    if (auto attribute = ReadAttribute(fs, path, "com.apple.ResourceFork")) return attribute;
    if (auto sidecar = ReadSidecar(fs, path)) return sidecar->resourceFork;
    return std::nullopt;
}

}  // namespace mt
