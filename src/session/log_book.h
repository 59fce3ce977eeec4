#pragma once
// The log of one window: the blocks that sifts, unsifts and copies leave, in the order they
// ran, and the file it is saved to when the window closes. Nothing appended is ever lost: the
// file goes to the first of several folders that takes it, never over an existing file, and
// is written to a temporary that gets its name only when complete.

#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace mt {

class LogBook {
public:
    // Appends a block as it came (its own final line end included), decoding each line for
    // display on its own: UTF-8 when valid, else Mac Roman.
    void Append(const std::string& block);
    // Everything appended, as UTF-8.
    const std::string& Text() const { return text_; }
    bool Empty() const { return text_.empty(); }

    struct Saved {
        std::string path;  // the file written; empty when nothing needed saving
    };
    struct Failure {
        std::string message;  // what could not be done, for a message box
    };
    // Writes Text() into a new file in the first of folders that takes it, creating that folder
    // when it is missing. The name is the date stamp of now with "." for ":" and ".txt"; a
    // taken name gets " 2", " 3", ... before ".txt". An empty log writes nothing and creates
    // no folder. When no folder takes the file, the result says why, for each folder.
    struct SaveResult {
        std::optional<Saved> saved;
        std::optional<Failure> failure;
    };
    SaveResult Save(FileSystem& fs, const std::vector<std::string>& folders, TimePoint now) const;

private:
    std::string text_;
};

// "YYYY-MM-DD HH.MM.SS.txt" for the local time t.
std::string LogFileName(TimePoint t);

}  // namespace mt
