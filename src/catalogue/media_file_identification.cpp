#include "catalogue/media_file_identification.h"

#include "catalogue/media_file.h"
#include "platform/binary_stream.h"
#include "platform/resource_fork.h"
#include "platform/text.h"

namespace mt {

namespace {
constexpr std::string_view kMarker = "_PJ";
constexpr int64_t kOffsetAfterMarker = 24;
constexpr int64_t kProjectFieldSize = 32;
constexpr int16_t kOmf1ResourceId = 1000;
constexpr size_t kOmf1NameStart = 12;

bool IsSoundDesignerII(std::string_view filename, const Bytes& type) {
    return EqualsIgnoringCase(type, "Sd2f") || EndsWithIgnoringCase(filename, ".sd2");
}
}  // namespace

bool HasTrailerExtension(std::string_view filename) {
    return EndsWithIgnoringCase(filename, ".omf") || EndsWithIgnoringCase(filename, ".aif") ||
           EndsWithIgnoringCase(filename, ".wav");
}

std::optional<Bytes> ReadProjectFromTrailer(ReadableFile& data) {
    const int64_t length = static_cast<int64_t>(data.Length());
    if (length < 4) return std::nullopt;
    char field[4];
    if (data.ReadAt(static_cast<uint64_t>(length - 4), field, 2) != 2) return std::nullopt;
    const int64_t tailLength = static_cast<int16_t>(static_cast<uint8_t>(field[0]) |
                                                    (static_cast<uint8_t>(field[1]) << 8));
    if (tailLength <= 0 || tailLength > length) return std::nullopt;

    const int64_t tailStart = length - tailLength;
    Bytes tail(static_cast<size_t>(tailLength), '\0');
    tail.resize(data.ReadAt(static_cast<uint64_t>(tailStart), tail.data(), tail.size()));
    // Without the marker there is no field to read: real OMF files end in a container
    // label whose words would otherwise be taken for an offset.
    size_t marker = FindIgnoringCase(tail, kMarker);
    if (marker == std::string::npos) return std::nullopt;

    const int64_t offsetField = tailStart + static_cast<int64_t>(marker) + kOffsetAfterMarker;
    if (offsetField + 4 > length) return std::nullopt;
    if (data.ReadAt(static_cast<uint64_t>(offsetField), field, 4) != 4) return std::nullopt;
    const int32_t offset =
        static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint8_t>(field[0])) |
                             (static_cast<uint32_t>(static_cast<uint8_t>(field[1])) << 8) |
                             (static_cast<uint32_t>(static_cast<uint8_t>(field[2])) << 16) |
                             (static_cast<uint32_t>(static_cast<uint8_t>(field[3])) << 24));
    if (offset < 0 || offset >= length) return std::nullopt;

    Bytes name(kProjectFieldSize, '\0');
    name.resize(data.ReadAt(static_cast<uint64_t>(offset), name.data(), name.size()));
    return UpToFirstNul(name);
}

std::optional<Bytes> ReadProjectFromOmf1Resource(const Bytes& fork) {
    ResourceFork resources(fork);
    auto omf1 = resources.Resource("OMF1", kOmf1ResourceId);
    if (!omf1) return std::nullopt;
    if (omf1->size() <= kOmf1NameStart) return Bytes();
    return UpToFirstNul(std::string_view(*omf1).substr(kOmf1NameStart, kProjectFieldSize));
}

Bytes MediaFile::GetProjectFromFile() const {
    if (!file) return {};
    const bool eligibleByName = HasTrailerExtension(filename);
    const bool sd2ByName = EndsWithIgnoringCase(filename, ".sd2");
    // The type code costs a metadata read; names usually decide without it.
    Bytes type;
    if (!eligibleByName && !sd2ByName) {
        type = file->MacType();
        if (!EqualsIgnoringCase(type, "ATmf") && !EqualsIgnoringCase(type, "AIFF") &&
            !EqualsIgnoringCase(type, "Sd2f")) {
            return {};
        }
    }
    if (auto data = file->OpenData()) {
        if (auto project = ReadProjectFromTrailer(*data)) return *project;
    }
    // Sound Designer II files keep the project in a resource when the data fork has none.
    if (!sd2ByName && type.empty()) type = file->MacType();
    if (IsSoundDesignerII(filename, type)) {
        if (auto fork = file->ResourceFork()) {
            if (auto project = ReadProjectFromOmf1Resource(*fork)) return *project;
        }
    }
    return {};
}

}  // namespace mt
