// Fuzzes the two ways a media file names its project: the "_PJ" field of the data fork's
// trailer and the "OMF1" resource of a Sound Designer II resource fork, over the same bytes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/media_file_identification.h"
#include "fuzz_check.h"
#include "platform/binary_stream.h"
#include "platform/resource_fork.h"
#include "platform/text.h"

namespace {

// A file in memory that checks every read the trailer reader makes: each starts inside the
// file, none asks for more than a tail can hold, and there are no more than four of them.
class CheckedFile : public mt::ReadableFile {
public:
    explicit CheckedFile(const std::string& bytes) : file_(bytes), length_(bytes.size()) {}
    uint64_t Length() const override { return length_; }
    size_t ReadAt(uint64_t position, char* buffer, size_t count) override {
        ++reads_;
        MT_FUZZ_CHECK(reads_ <= 4);
        MT_FUZZ_CHECK(position < length_);
        MT_FUZZ_CHECK(count <= 32768);
        return file_.ReadAt(position, buffer, count);
    }

private:
    mt::MemoryFile file_;
    uint64_t length_;
    int reads_ = 0;
};

void CheckProjectName(const std::string& name, const std::string& bytes) {
    MT_FUZZ_CHECK(name.size() <= 32);
    MT_FUZZ_CHECK(name.find('\0') == std::string::npos);
    MT_FUZZ_CHECK(bytes.find(name) != std::string::npos);
    MT_FUZZ_CHECK(mt::IsValidUtf8(mt::DisplayText(name)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    CheckedFile file(bytes);
    if (auto project = mt::ReadProjectFromTrailer(file)) {
        CheckProjectName(*project, bytes);
        // A name is read only behind a marker in the tail.
        const auto tailLength = static_cast<int16_t>(data[size - 4] | (data[size - 3] << 8));
        MT_FUZZ_CHECK(tailLength > 0 && static_cast<size_t>(tailLength) <= size);
        MT_FUZZ_CHECK(
            mt::ContainsIgnoringCase(std::string_view(bytes).substr(size - tailLength), "_PJ"));
    }

    if (auto project = mt::ReadProjectFromOmf1Resource(bytes)) {
        CheckProjectName(*project, bytes);
        MT_FUZZ_CHECK(mt::ResourceFork(bytes).Resource("OMF1", 1000).has_value());
    }
    return 0;
}
