#include "mediafolder/media_database_reader.h"

namespace mt {

namespace {
constexpr int64_t kIdSize = 8;
constexpr int64_t kTrailingSize = 12;
constexpr int64_t kSmallestRecord = kIdSize + 2 + 2 + kTrailingSize;

struct Reading {
    int32_t count;
    int16_t firstNameLength;
};

Reading ReadAs(BinaryStream& stream, bool littleEndian) {
    stream.littleEndian = littleEndian;
    stream.SetPosition(kDatabaseCountOffset);
    Reading r;
    r.count = stream.ReadInt32();
    stream.SetPosition(kDatabaseFirstRecord + kIdSize);
    r.firstNameLength = stream.ReadInt16();
    return r;
}

bool MakesSense(const Reading& r, int64_t length) {
    int64_t roomForRecords = (length - kDatabaseFirstRecord) / kSmallestRecord;
    bool countFits = r.count > 0 && r.count <= roomForRecords;
    bool nameFits =
        r.firstNameLength >= 0 && kDatabaseFirstRecord + kIdSize + 2 + r.firstNameLength <= length;
    return countFits && nameFits;
}
}  // namespace

DatabaseHeader ReadDatabaseHeader(BinaryStream& stream) {
    const int64_t length = stream.Length();
    Reading big = ReadAs(stream, false);
    DatabaseHeader header{big.count, false};
    if (length >= kDatabaseFirstRecord + kSmallestRecord) {
        int64_t roomForRecords = (length - kDatabaseFirstRecord) / kSmallestRecord;
        bool bigCountAbsurd = big.count < 0 || big.count > roomForRecords;
        bool bigNameAbsurd = big.firstNameLength < 0 ||
                             kDatabaseFirstRecord + kIdSize + 2 + big.firstNameLength > length;
        if (bigCountAbsurd && bigNameAbsurd) {
            Reading little = ReadAs(stream, true);
            if (MakesSense(little, length)) header = {little.count, true};
        }
    }
    stream.littleEndian = header.littleEndian;
    stream.SetPosition(kDatabaseFirstRecord);
    return header;
}

void ReadDatabaseRecords(BinaryStream& stream, const DatabaseHeader& header,
                         const std::function<void(DatabaseRecord&&)>& onRecord) {
    stream.littleEndian = header.littleEndian;
    stream.SetPosition(kDatabaseFirstRecord);
    for (int32_t i = 0; !stream.AtEnd() && i < header.count; ++i) {
        DatabaseRecord record;
        record.premob = stream.Read(kIdSize);
        record.filename = stream.Read(stream.ReadInt16());
        record.project = stream.Read(stream.ReadInt16());
        record.postmob = stream.Read(kTrailingSize);
        onRecord(std::move(record));
    }
}

}  // namespace mt
