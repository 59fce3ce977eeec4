#pragma once
// The layout of the media database "msmFMID.pmr": 8 header bytes, a 32-bit record count at
// offset 8, then records of an 8-byte mob id, a 16-bit length and the file name, a 16-bit
// length and the project name, and 12 trailing bytes. Databases are big-endian; some writers
// store the numbers little-endian, which the header reveals.

#include <cstdint>
#include <functional>

#include "platform/binary_stream.h"

namespace mt {

struct DatabaseHeader {
    int32_t count = 0;
    bool littleEndian = false;
};

struct DatabaseRecord {
    Bytes premob;
    Bytes filename;
    Bytes project;
    Bytes postmob;
};

constexpr int64_t kDatabaseCountOffset = 8;
constexpr int64_t kDatabaseFirstRecord = 12;

// The record count and byte order. A database is read little-endian only when its count
// and first name length make no sense big-endian but do little-endian.
DatabaseHeader ReadDatabaseHeader(BinaryStream& stream);

// Reads records from offset 12 in one forward pass until count records or the end of the
// file. A record cut short by the end is given with what was there; a negative length
// reads as an empty name.
void ReadDatabaseRecords(BinaryStream& stream, const DatabaseHeader& header,
                         const std::function<void(DatabaseRecord&&)>& onRecord);

}  // namespace mt
