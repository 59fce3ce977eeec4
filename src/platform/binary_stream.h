#pragma once
// A read-only stream over a file's bytes with a settable position and 16/32-bit integer
// reads in either byte order. Reads near the end give what is there; past the end, nothing.

#include <cstdint>
#include <memory>

#include "platform/file_system.h"

namespace mt {

// A ReadableFile over bytes in memory: for parsers given bytes, and for tests.
class MemoryFile : public ReadableFile {
public:
    explicit MemoryFile(Bytes data) : data_(std::move(data)) {}
    uint64_t Length() const override { return data_.size(); }
    size_t ReadAt(uint64_t position, char* buffer, size_t count) override;

private:
    Bytes data_;
};

class BinaryStream {
public:
    explicit BinaryStream(std::unique_ptr<ReadableFile> file);
    static BinaryStream FromBytes(Bytes data);

    BinaryStream(const BinaryStream&) = delete;
    BinaryStream& operator=(const BinaryStream&) = delete;
    BinaryStream(BinaryStream&&) = default;
    BinaryStream& operator=(BinaryStream&&) = default;

    int64_t Length() const { return length_; }
    int64_t Position() const { return position_; }
    // Any position may be set, also a negative one or one past the end: reads there give nothing.
    void SetPosition(int64_t position) { position_ = position; }
    bool AtEnd() const { return position_ >= length_; }
    bool littleEndian = false;

    // Up to count bytes from the position; fewer near the end. Advances by what was read.
    Bytes Read(int64_t count);
    // Missing bytes of a short read count as zero.
    int16_t ReadInt16();
    int32_t ReadInt32();

private:
    bool Fill(int64_t position);

    std::unique_ptr<ReadableFile> file_;
    int64_t length_ = 0;
    int64_t position_ = 0;
    Bytes buffer_;
    int64_t bufferStart_ = 0;
};

// Big- and little-endian integers from raw bytes (callers check the bounds).
uint16_t BigEndian16(const char* p);
uint32_t BigEndian32(const char* p);

}  // namespace mt
