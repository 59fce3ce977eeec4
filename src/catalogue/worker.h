#pragma once
// The base of every catalogue object: a list of member media files, a log text, and the
// progress bar and status label through which a long batch reports to the window.

#include <memory>
#include <string>
#include <vector>

#include "platform/folder_item.h"
#include "platform/hooks.h"

namespace mt {

class MediaFile;
using MediaFilePtr = std::shared_ptr<MediaFile>;
using MediaFileList = std::vector<MediaFilePtr>;

class Worker {
public:
    Worker() = default;
    virtual ~Worker() = default;
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // Shows, advances or hides the attached bar. A negative fraction hides it and restores
    // the arrow cursor; otherwise the bar is shown and set to the whole percentage at most
    // once every 120 ticks, and only when that percentage changed.
    void SetProgress(double fraction);
    // What a batch of copies gives each copy: after each piece of the file the bar shows
    // (filesDone + the part of this file copied) / count, through SetProgress, and the event
    // loop gets a turn, so the window repaints during a long file. filesDone is read at each
    // call.
    CopyProgress ProgressWithinFile(const size_t& filesDone, size_t count);
    // Sets the attached label's text when it differs, ignoring letter case.
    void SetLabel(const std::string& text);
    // Bytes of the members on disk; members whose file is gone add 0.
    virtual double GetSize();
    // The number of members whose file exists now.
    int CountMembersOnDisk();

    // The size text: "-", "N Bytes", "N KB", "N MB" or "N.N GB".
    static std::string MegaString(double bytes);
    // The current local date and time, YYYY-MM-DD HH:MM:SS.
    static std::string DateStamp();

    // Replaces logstring (and loglines) with the lines joined by line endings; the last
    // element is empty, so the text ends with one.
    void SetLog(std::vector<std::string> lines);

    double lastprogress = 0;
    ProgressBar* progress = nullptr;
    MediaFileList MediaFiles;
    std::string logstring;
    StatusLabel* label = nullptr;
    // The lines of logstring, for callers that print them one by one.
    std::vector<std::string> loglines;
};

}  // namespace mt
