#include "platform/mounted_volumes.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace mt {

namespace {
// /proc/mounts writes blanks and other bytes of a mount point as octal escapes.
std::string Unescape(const std::string& field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            int value = 0;
            bool octal = true;
            for (size_t k = 1; k <= 3; ++k) {
                char c = field[i + k];
                if (c < '0' || c > '7') octal = false;
                value = value * 8 + (c - '0');
            }
            if (octal) {
                out += static_cast<char>(value);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

bool IsMediaMount(const std::string& path) {
    for (const char* prefix : {"/media/", "/mnt/", "/run/media/", "/Volumes/"}) {
        if (path.rfind(prefix, 0) == 0) return true;
    }
    return false;
}
}  // namespace

std::vector<FolderItem> MountedVolumes() {
    std::vector<FolderItem> volumes;
#if defined(__linux__)
    volumes.push_back(FolderItem::Volume("/"));
    std::ifstream mounts("/proc/self/mounts");
    std::string line;
    while (std::getline(mounts, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint;
        fields >> device >> mountPoint;
        mountPoint = Unescape(mountPoint);
        if (IsMediaMount(mountPoint)) volumes.push_back(FolderItem::Volume(mountPoint));
    }
#elif defined(__APPLE__)
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator("/Volumes", ec)) {
        volumes.push_back(FolderItem::Volume(e.path().string()));
    }
#else
    for (char drive = 'C'; drive <= 'Z'; ++drive) {
        std::string root = std::string(1, drive) + ":/";
        std::error_code ec;
        if (std::filesystem::exists(root, ec)) volumes.push_back(FolderItem::Volume(root));
    }
#endif
    return volumes;
}

}  // namespace mt
