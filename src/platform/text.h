#pragma once
// Byte-string helpers. Names are bytes and never converted; every comparison of the
// system ignores ASCII letter case and leaves other bytes as they are.

#include <string>
#include <string_view>

namespace mt {

using Bytes = std::string;

char FoldAscii(char c);
Bytes LowerAscii(std::string_view s);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
// Negative, zero or positive as a sorts before, equal to or after b, ignoring ASCII case.
int CompareIgnoringCase(std::string_view a, std::string_view b);
// 0-based position of the first occurrence of needle, or npos.
size_t FindIgnoringCase(std::string_view haystack, std::string_view needle);
bool ContainsIgnoringCase(std::string_view haystack, std::string_view needle);
bool EndsWithIgnoringCase(std::string_view s, std::string_view suffix);

// The bytes before the first NUL, or all of them.
Bytes UpToFirstNul(std::string_view bytes);

// Text for display: the bytes when they are valid UTF-8, else decoded as Mac Roman.
std::string DisplayText(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);

}  // namespace mt
