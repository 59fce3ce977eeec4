#include "session/picked_path.h"

#include <filesystem>

namespace mt {

namespace {
std::string AbsolutePath(const std::string& path) {
    std::error_code ec;
    auto absolute = std::filesystem::absolute(std::filesystem::path(path), ec);
    std::string result = (ec ? std::filesystem::path(path) : absolute).lexically_normal().string();
    while (result.size() > 1 && result.back() == '/') result.pop_back();
    return result;
}
}  // namespace

std::string ResolvePicked(FileSystem& fs, const std::string& path) {
    if (path.empty()) return path;
    if (auto resolved = fs.Resolve(path)) return *resolved;
    return AbsolutePath(path);
}

}  // namespace mt
