#include "catalogue/media_file.h"

#include "platform/date_text.h"
#include "platform/text.h"

namespace mt {

double MediaFile::GetSize() {
    if (!file || !file->Exists()) return 0;
    return static_cast<double>(file->Length()) + static_cast<double>(file->ResourceForkLength());
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
    if (ContainsIgnoringCase(parentPath, ":OMFI Mediafiles:")) {
        std::string own = file->ColonPath();
        return own.substr(0, own.find(':'));
    }
    return parentPath;
}

}  // namespace mt
