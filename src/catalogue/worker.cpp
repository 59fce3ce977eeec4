#include "catalogue/worker.h"

#include <cmath>
#include <cstdio>

#include "catalogue/media_file.h"
#include "platform/date_text.h"
#include "platform/text.h"
#include "platform/ticks.h"

namespace mt {

namespace {
constexpr double kTicksBetweenUpdates = 120;

std::string FormatWhole(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.0f", value);
    return buffer;
}
}  // namespace

void Worker::SetProgress(double fraction) {
    if (!progress) return;
    if (fraction < 0) {
        SetMouseCursor(Cursor::Arrow);
        progress->SetVisible(false);
        return;
    }
    progress->SetVisible(true);
    int value = static_cast<int>(std::trunc(100.0 * fraction));
    double now = Ticks();
    if (value != progress->Value() && lastprogress + kTicksBetweenUpdates < now) {
        SetMouseCursor(Cursor::Watch);
        progress->SetValue(value);
        lastprogress = now;
        progress->Refresh();
    }
}

CopyProgress Worker::ProgressWithinFile(const size_t& filesDone, size_t count) {
    return [this, &filesDone, count](uint64_t bytes, uint64_t total) {
        const double part = total > 0 ? static_cast<double>(bytes) / static_cast<double>(total) : 1;
        SetProgress((static_cast<double>(filesDone) + part) / static_cast<double>(count));
        YieldToEventLoop();
    };
}

void Worker::SetLabel(const std::string& text) {
    if (!label || EqualsIgnoringCase(label->Text(), text)) return;
    label->SetText(text);
    label->Refresh();
}

double Worker::GetSize() {
    double total = 0;
    for (size_t i = 0; i < MediaFiles.size(); ++i) {
        MediaFilePtr member = MediaFiles[i];
        if (member) total += member->GetSize();
        YieldToEventLoop();
    }
    return total;
}

int Worker::CountMembersOnDisk() {
    int count = 0;
    for (size_t i = 0; i < MediaFiles.size(); ++i) {
        MediaFilePtr member = MediaFiles[i];
        if (member && member->file && member->file->Exists()) ++count;
        YieldToEventLoop();
    }
    return count;
}

std::string Worker::MegaString(double bytes) {
    constexpr double kKilo = 1024.0, kMega = kKilo * 1024.0, kGiga = kMega * 1024.0;
    if (bytes == 0) return "-";
    if (bytes < kKilo) return FormatWhole(bytes) + " Bytes";
    if (bytes < kMega) return FormatWhole(bytes / kKilo) + " KB";
    if (bytes < kGiga) return FormatWhole(bytes / kMega) + " MB";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.1f", bytes / kGiga);
    return std::string(buffer) + " GB";
}

std::string Worker::DateStamp() { return CurrentDateStamp(); }

void Worker::SetLog(std::vector<std::string> lines) {
    logstring.clear();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) logstring += '\n';
        logstring += lines[i];
    }
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    loglines = std::move(lines);
}

}  // namespace mt
