#include "session/log_book.h"

#include <string_view>

#include "platform/date_text.h"
#include "platform/folder_item.h"
#include "platform/text.h"

namespace mt {

namespace {

constexpr size_t kWriteChunk = 64 * 1024;
// A folder whose every log name up to here is taken is given up; no real folder gets there.
constexpr int kMostNumberedNames = 9999;

// Creates folder and the folders above it that are missing. Empty error when it is a folder.
FileError MakeFolder(FileSystem& fs, const std::string& folder) {
    FileInfo info = fs.Stat(folder);
    if (info.exists) return {};
    size_t slash = folder.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        FileError above = MakeFolder(fs, folder.substr(0, slash));
        if (!above.ok()) return above;
    }
    return fs.CreateFolder(folder);
}

// The folder that the log may go into: made when missing, followed when it is a link.
// nullopt, with why, when there is none.
std::optional<std::string> UsableFolder(FileSystem& fs, const std::string& folder,
                                        std::string& why) {
    FileError made = MakeFolder(fs, folder);
    if (!made.ok()) {
        why = "the folder could not be made (" + made.message + ")";
        return std::nullopt;
    }
    FileInfo info = fs.Stat(folder);
    if (info.isFolder) return folder;
    if (info.isSymlink) {
        auto target = fs.Resolve(folder);
        if (target && fs.Stat(*target).isFolder) return target;
    }
    why = info.exists ? "a file of that name is in the way" : "the folder could not be made";
    return std::nullopt;
}

// Writes text into a new hidden file in folder; its path, or nullopt with why. Nothing is
// left behind on failure.
std::optional<std::string> WriteTemporary(FileSystem& fs, const std::string& folder,
                                          const std::string& name, const std::string& text,
                                          std::string& why) {
    for (int attempt = 0; attempt < kMostNumberedNames; ++attempt) {
        const std::string path =
            JoinPath(folder, "." + name + "." + std::to_string(attempt) + ".part");
        FileError error;
        auto file = fs.CreateNew(path, &error);
        if (!file) {
            if (error.code == kFileExistsCode) continue;
            why = "no file could be made there (" + error.message + ")";
            return std::nullopt;
        }
        for (size_t at = 0; at < text.size() && error.ok(); at += kWriteChunk) {
            error = file->Write(text.data() + at, std::min(kWriteChunk, text.size() - at));
        }
        if (error.ok()) error = file->Finish();
        file.reset();
        if (error.ok()) return path;
        fs.Remove(path);
        why = "the file could not be written (" + error.message + ")";
        return std::nullopt;
    }
    why = "no file could be made there";
    return std::nullopt;
}

// "<stem>.txt", then "<stem> 2.txt", "<stem> 3.txt", ...
std::string NumberedName(const std::string& name, int number) {
    if (number == 1) return name;
    const std::string stem = name.substr(0, name.size() - 4);
    return stem + " " + std::to_string(number) + ".txt";
}

// Gives the written temporary the first free name; the saved path, or nullopt with why (the
// temporary is removed then).
std::optional<std::string> GiveName(FileSystem& fs, const std::string& folder,
                                    const std::string& temporary, const std::string& name,
                                    std::string& why) {
    for (int number = 1; number <= kMostNumberedNames; ++number) {
        const std::string path = JoinPath(folder, NumberedName(name, number));
        if (fs.Stat(path).exists) continue;
        // The rename never replaces: a name taken since the look above fails here.
        FileError error = fs.Rename(temporary, path);
        if (error.ok()) return path;
        if (error.code == kFileExistsCode) continue;
        fs.Remove(temporary);
        why = "the file could not be given its name (" + error.message + ")";
        return std::nullopt;
    }
    fs.Remove(temporary);
    why = "every log file name for this second is taken";
    return std::nullopt;
}

}  // namespace

void LogBook::Append(const std::string& block) {
    std::string_view rest(block);
    while (!rest.empty()) {
        size_t end = rest.find('\n');
        text_ += DisplayText(rest.substr(0, end));
        if (end == std::string_view::npos) break;
        text_ += '\n';
        rest.remove_prefix(end + 1);
    }
}

std::string LogFileName(TimePoint t) {
    std::string name = DateStampOf(t);
    for (char& c : name) {
        if (c == ':') c = '.';
    }
    return name + ".txt";
}

LogBook::SaveResult LogBook::Save(FileSystem& fs, const std::vector<std::string>& folders,
                                  TimePoint now) const {
    SaveResult result;
    if (text_.empty()) {
        result.saved = Saved{};
        return result;
    }
    const std::string name = LogFileName(now);
    std::string reasons;
    for (const std::string& wanted : folders) {
        std::string why;
        std::optional<std::string> saved;
        if (auto folder = UsableFolder(fs, wanted, why)) {
            if (auto temporary = WriteTemporary(fs, *folder, name, text_, why)) {
                saved = GiveName(fs, *folder, *temporary, name, why);
            }
        }
        if (saved) {
            result.saved = Saved{*saved};
            return result;
        }
        reasons += "\n" + DisplayText(wanted) + ": " + why + ".";
    }
    if (folders.empty()) reasons = "\nNo folder for log files is known.";
    result.failure = Failure{
        "The log of this session could not be saved, so it is lost when the window closes. "
        "Folders tried:" +
        reasons};
    return result;
}

}  // namespace mt
