#pragma once
// Byte literals written as hex text ("00 05 16 07"), and big-endian numbers, for inputs that
// are easier to read as bytes than to build.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace mt::regressions {

// The bytes of hex digit pairs; spaces and line breaks between pairs are ignored.
inline Bytes Hex(std::string_view text) {
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        throw std::invalid_argument("not a hex digit");
    };
    Bytes out;
    int high = -1;
    for (char c : text) {
        if (c == ' ' || c == '\n') continue;
        if (high < 0) {
            high = digit(c);
        } else {
            out += static_cast<char>(high * 16 + digit(c));
            high = -1;
        }
    }
    if (high >= 0) throw std::invalid_argument("odd number of hex digits");
    return out;
}

inline Bytes BigEndian16Bytes(uint16_t v) {
    return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)};
}

inline Bytes BigEndian32Bytes(uint32_t v) {
    return BigEndian16Bytes(static_cast<uint16_t>(v >> 16)) +
           BigEndian16Bytes(static_cast<uint16_t>(v & 0xFFFF));
}

}  // namespace mt::regressions
