#pragma once
// The progress of a long scan or operation of mactarnwick-cli, for a person at a terminal:
// the status text and the percentage that the window's bar would show, redrawn in place on
// one line with "\r". When the stream is not a terminal (a script or a test reads it) nothing
// at all is written.

#include <iosfwd>
#include <string>

#include "platform/hooks.h"

namespace mt {

class TerminalProgress : public ProgressBar, public StatusLabel {
public:
    // terminal: whether out is a terminal; when false, the object writes nothing.
    TerminalProgress(std::ostream& out, bool terminal);
    // Clears the line.
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    int Value() const override { return value_; }
    void SetValue(int value) override;
    void SetVisible(bool visible) override;
    std::string Text() const override { return text_; }
    void SetText(const std::string& text) override;
    // Both interfaces redraw at once; the line is always drawn as soon as it changes.
    void Refresh() override {}

    // Takes the line away, so that other output starts on a clean line; the next change
    // draws it again.
    void Clear();

    // How wide the line may grow, in characters: wider would wrap, and "\r" goes back only
    // to the start of the last row.
    static constexpr size_t kWidth = 79;

private:
    void Draw();

    std::ostream& out_;
    bool terminal_;
    std::string text_;
    int value_ = 0;
    bool visible_ = false;
    size_t drawn_ = 0;  // characters on the line now
};

}  // namespace mt
