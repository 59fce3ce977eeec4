#include "cli/terminal_progress.h"

#include <ostream>

namespace mt {

namespace {
bool StartsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

// The first `most` characters of UTF-8 text, and how many characters that is.
std::string Leading(const std::string& text, size_t most, size_t& characters) {
    characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (StartsCharacter(text[i])) {
            if (characters == most) return text.substr(0, i);
            ++characters;
        }
    }
    return text;
}
}  // namespace

TerminalProgress::TerminalProgress(std::ostream& out, bool terminal)
    : out_(out), terminal_(terminal) {}

TerminalProgress::~TerminalProgress() { Clear(); }

void TerminalProgress::SetValue(int value) {
    if (value == value_) return;
    value_ = value;
    if (visible_) Draw();
}

void TerminalProgress::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Draw();
}

void TerminalProgress::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    Draw();
}

void TerminalProgress::Draw() {
    if (!terminal_) return;
    std::string line = text_;
    for (char& c : line) {
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    }
    const std::string percent = visible_ ? " " + std::to_string(value_) + "%" : "";
    size_t characters = 0;
    line = Leading(line, kWidth - percent.size(), characters) + percent;
    characters += percent.size();
    out_ << '\r' << line;
    if (drawn_ > characters) out_ << std::string(drawn_ - characters, ' ');
    out_.flush();
    drawn_ = characters;
}

void TerminalProgress::Clear() {
    if (!terminal_ || drawn_ == 0) return;
    out_ << '\r' << std::string(drawn_, ' ') << '\r';
    out_.flush();
    drawn_ = 0;
}

}  // namespace mt
