#include "platform/binary_stream.h"

#include <algorithm>
#include <cstring>

namespace mt {

namespace {
constexpr int64_t kBufferSize = 64 * 1024;
}

size_t MemoryFile::ReadAt(uint64_t position, char* buffer, size_t count) {
    if (position >= data_.size()) return 0;
    size_t n = std::min<uint64_t>(count, data_.size() - position);
    std::memcpy(buffer, data_.data() + position, n);
    return n;
}

BinaryStream::BinaryStream(std::unique_ptr<ReadableFile> file) : file_(std::move(file)) {
    length_ = file_ ? static_cast<int64_t>(file_->Length()) : 0;
}

BinaryStream BinaryStream::FromBytes(Bytes data) {
    return BinaryStream(std::make_unique<MemoryFile>(std::move(data)));
}

bool BinaryStream::Fill(int64_t position) {
    if (!file_ || position < 0 || position >= length_) return false;
    buffer_.resize(static_cast<size_t>(std::min(kBufferSize, length_ - position)));
    size_t got = file_->ReadAt(static_cast<uint64_t>(position), buffer_.data(), buffer_.size());
    buffer_.resize(got);
    bufferStart_ = position;
    return got > 0;
}

Bytes BinaryStream::Read(int64_t count) {
    Bytes out;
    if (count <= 0 || position_ < 0 || position_ >= length_) return out;
    count = std::min(count, length_ - position_);
    if (count > kBufferSize) {
        // Large reads go straight to the file.
        out.resize(static_cast<size_t>(count));
        size_t got = file_->ReadAt(static_cast<uint64_t>(position_), out.data(), out.size());
        out.resize(got);
        position_ += static_cast<int64_t>(got);
        return out;
    }
    out.reserve(static_cast<size_t>(count));
    while (static_cast<int64_t>(out.size()) < count) {
        int64_t offset = position_ - bufferStart_;
        if (offset < 0 || offset >= static_cast<int64_t>(buffer_.size())) {
            if (!Fill(position_)) break;
            offset = 0;
        }
        int64_t n = std::min<int64_t>(count - static_cast<int64_t>(out.size()),
                                      static_cast<int64_t>(buffer_.size()) - offset);
        out.append(buffer_, static_cast<size_t>(offset), static_cast<size_t>(n));
        position_ += n;
    }
    return out;
}

int16_t BinaryStream::ReadInt16() {
    Bytes b = Read(2);
    b.resize(2, '\0');
    auto u0 = static_cast<uint8_t>(b[0]), u1 = static_cast<uint8_t>(b[1]);
    uint16_t v = littleEndian ? static_cast<uint16_t>(u0 | (u1 << 8))
                              : static_cast<uint16_t>((u0 << 8) | u1);
    return static_cast<int16_t>(v);
}

int32_t BinaryStream::ReadInt32() {
    Bytes b = Read(4);
    b.resize(4, '\0');
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        uint32_t byte = static_cast<uint8_t>(b[littleEndian ? 3 - i : i]);
        v = (v << 8) | byte;
    }
    return static_cast<int32_t>(v);
}

uint16_t BigEndian16(const char* p) {
    return static_cast<uint16_t>((static_cast<uint8_t>(p[0]) << 8) | static_cast<uint8_t>(p[1]));
}

uint32_t BigEndian32(const char* p) {
    return (static_cast<uint32_t>(static_cast<uint8_t>(p[0])) << 24) |
           (static_cast<uint32_t>(static_cast<uint8_t>(p[1])) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(p[2])) << 8) |
           static_cast<uint32_t>(static_cast<uint8_t>(p[3]));
}

}  // namespace mt
