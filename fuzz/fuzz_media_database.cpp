// Fuzzes the media database reader: the header's count and byte order, then every record.
// The records are checked against a plain reading of the same bytes, so a fault in the
// buffered stream (files over 64 KB) shows up as a difference, not only as a crash.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "mediafolder/media_database_reader.h"

namespace {

// Reads the bytes as the database layout describes them, straight from memory.
class PlainReader {
public:
    PlainReader(std::string_view bytes, bool littleEndian)
        : bytes_(bytes), littleEndian_(littleEndian) {}

    bool AtEnd() const { return position_ >= bytes_.size(); }
    void SetPosition(size_t position) { position_ = position; }

    std::string Take(int64_t count) {
        if (count <= 0 || position_ >= bytes_.size()) return {};
        size_t n = static_cast<size_t>(
            std::min<uint64_t>(static_cast<uint64_t>(count), bytes_.size() - position_));
        std::string out(bytes_.substr(position_, n));
        position_ += n;
        return out;
    }

    uint32_t Number(int size) {
        std::string b = Take(size);
        b.resize(static_cast<size_t>(size), '\0');
        uint32_t v = 0;
        for (int i = 0; i < size; ++i) {
            v = (v << 8) |
                static_cast<uint8_t>(b[static_cast<size_t>(littleEndian_ ? size - 1 - i : i)]);
        }
        return v;
    }

private:
    std::string_view bytes_;
    bool littleEndian_;
    size_t position_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    mt::BinaryStream stream = mt::BinaryStream::FromBytes(bytes);
    const mt::DatabaseHeader header = mt::ReadDatabaseHeader(stream);
    MT_FUZZ_CHECK(stream.Position() == mt::kDatabaseFirstRecord);
    MT_FUZZ_CHECK(stream.littleEndian == header.littleEndian);

    PlainReader plain(bytes, header.littleEndian);
    plain.SetPosition(mt::kDatabaseCountOffset);
    MT_FUZZ_CHECK(static_cast<int32_t>(plain.Number(4)) == header.count);
    if (header.littleEndian) {
        // Chosen only when the count makes sense: at least one record fits per count.
        MT_FUZZ_CHECK(header.count > 0);
        MT_FUZZ_CHECK(static_cast<uint64_t>(header.count) * 24 + 12 <= size);
    }

    std::vector<mt::DatabaseRecord> records;
    mt::ReadDatabaseRecords(
        stream, header, [&](mt::DatabaseRecord&& record) { records.push_back(std::move(record)); });

    // Every record takes at least one byte of the file.
    MT_FUZZ_CHECK(records.size() <= (size > 12 ? size - 12 : 0));
    MT_FUZZ_CHECK(static_cast<int64_t>(records.size()) <= std::max<int32_t>(header.count, 0));

    plain.SetPosition(mt::kDatabaseFirstRecord);
    size_t taken = 0;
    for (const mt::DatabaseRecord& record : records) {
        MT_FUZZ_CHECK(!plain.AtEnd());
        MT_FUZZ_CHECK(record.premob == plain.Take(8));
        MT_FUZZ_CHECK(record.filename == plain.Take(static_cast<int16_t>(plain.Number(2))));
        MT_FUZZ_CHECK(record.project == plain.Take(static_cast<int16_t>(plain.Number(2))));
        MT_FUZZ_CHECK(record.postmob == plain.Take(12));
        MT_FUZZ_CHECK(record.filename.size() <= 32767 && record.project.size() <= 32767);
        taken += record.premob.size() + record.filename.size() + record.project.size() +
                 record.postmob.size();
    }
    MT_FUZZ_CHECK(taken + 12 <= std::max<size_t>(size, 12));
    // The reader stops at the count or at the end of the file, never before both.
    MT_FUZZ_CHECK(static_cast<int64_t>(records.size()) == std::max<int32_t>(header.count, 0) ||
                  plain.AtEnd());
    return 0;
}
