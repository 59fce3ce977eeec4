#include "catalogue/media_file.h"

#include "catalogue/media_names.h"
#include "platform/date_text.h"
#include "platform/text.h"

namespace mt {

double MediaFile::GetSize() {
    if (!file) return 0;
    const FileInfo info = file->Info();
    if (!info.exists) return 0;
    return static_cast<double>(info.size) + static_cast<double>(file->ResourceForkLength());
}

Bytes MediaFile::GetName() const { return file ? file->Name() : Bytes(); }

std::optional<TimePoint> MediaFile::GetDate() const {
    if (!file) return std::nullopt;
    return file->CreationDate();
}

std::string MediaFile::GetDateString() const {
    auto date = GetDate();
    return date ? ShortDateTimeText(*date) : std::string();
}

std::string MediaFile::GetVolume() const {
    if (!file) return {};
    auto parent = file->Parent();
    if (!parent) return {};
    std::string parentPath = parent->ColonPath();
    // The parent's colon path starts with the same volume name as the file's own.
    if (ContainsIgnoringCase(parentPath, ":" + Bytes(kMediaFolderName) + ":")) {
        return parentPath.substr(0, parentPath.find(':'));
    }
    return parentPath;
}

}  // namespace mt
