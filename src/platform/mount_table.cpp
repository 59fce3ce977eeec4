#include "platform/mount_table.h"

#include <algorithm>

namespace mt {

namespace {

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        lines.push_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (start < line.size()) {
        const size_t end = std::min(line.find(' ', start), line.size());
        if (end > start) fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

}  // namespace

std::string UnescapeMountField(std::string_view field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool octal = true;
            int value = 0;
            for (size_t k = 1; k <= 3; ++k) {
                const char c = field[i + k];
                if (c < '0' || c > '7') octal = false;
                value = value * 8 + (c - '0');
            }
            if (octal && value < 256) {
                out += static_cast<char>(value);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
    std::vector<MountEntry> entries;
    for (std::string_view line : Lines(text)) {
        const std::vector<std::string_view> fields = Fields(line);
        const auto separator = std::find(fields.begin(), fields.end(), "-");
        if (separator == fields.end() || separator - fields.begin() < 6 ||
            fields.end() - separator < 2) {
            continue;
        }
        entries.push_back({std::string(fields[2]), UnescapeMountField(fields[4]),
                           UnescapeMountField(*(separator + 1))});
    }
    return entries;
}

std::vector<MountEntry> ParseMounts(std::string_view text) {
    std::vector<MountEntry> entries;
    for (std::string_view line : Lines(text)) {
        const std::vector<std::string_view> fields = Fields(line);
        if (fields.size() < 3) continue;
        entries.push_back({UnescapeMountField(fields[0]), UnescapeMountField(fields[1]),
                           UnescapeMountField(fields[2])});
    }
    return entries;
}

}  // namespace mt
