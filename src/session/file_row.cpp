#include "session/file_row.h"

#include <algorithm>

#include "platform/date_text.h"
#include "platform/hooks.h"
#include "platform/text.h"

namespace mt {

const std::array<const char*, FileRow::kColumnCount> kFileColumnHeadings = {
    "Volume", "Project", "Name", "Date", "Size", "Idx", "On"};
const std::array<int, FileRow::kColumnCount> kFileColumnWidths = {15, 18, 36, 15, 8, 4, 4};

FileRow FileRowOfBytes(MediaFile& media) {
    FileRow row;
    row.date = media.GetDate();
    row.size = media.GetSize();
    row.cells[FileRow::kVolume] = media.GetVolume();
    row.cells[FileRow::kProject] = media.project;
    row.cells[FileRow::kName] = media.GetName();
    row.cells[FileRow::kDate] = row.date ? ShortDateTimeText(*row.date) : std::string();
    row.cells[FileRow::kSize] = Worker::MegaString(row.size);
    row.cells[FileRow::kIdx] = media.GetInformationSource();
    if (row.size > 0) {
        row.cells[FileRow::kOn] = media.online ? "X" : "";
    } else {
        row.cells[FileRow::kOn] = "-";
        row.italic = true;
    }
    return row;
}

FileRow FileRowOf(MediaFile& media) {
    FileRow row = FileRowOfBytes(media);
    for (int column : {FileRow::kVolume, FileRow::kProject, FileRow::kName}) {
        row.cells[column] = DisplayText(row.cells[column]);
    }
    return row;
}

std::vector<FileRow> FileRowsOf(const std::vector<TarnwickerPtr>& folders) {
    std::vector<FileRow> rows;
    size_t total = 0;
    for (const auto& folder : folders) total += folder ? folder->MediaFiles.size() : 0;
    rows.reserve(total);
    for (const auto& folder : folders) {
        if (!folder) continue;
        for (size_t i = 0; i < folder->MediaFiles.size(); ++i) {
            MediaFilePtr media = folder->MediaFiles[i];
            if (media) rows.push_back(FileRowOf(*media));
            YieldToEventLoop();
        }
        YieldToEventLoop();
    }
    return rows;
}

int CompareRows(const FileRow& a, const FileRow& b, int column) {
    if (column == FileRow::kDate) {
        if (!a.date && !b.date) return 0;
        if (!b.date) return 1;
        if (!a.date) return -1;
        if (*a.date == *b.date) return 0;
        return *a.date > *b.date ? 1 : -1;
    }
    if (column == FileRow::kSize) {
        if (a.size == b.size) return 0;
        return a.size > b.size ? 1 : -1;
    }
    if (column < 0 || column >= FileRow::kColumnCount) return 0;
    int order = CompareIgnoringCase(a.cells[column], b.cells[column]);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

void SortRows(std::vector<FileRow>& rows, int column, bool ascending) {
    std::stable_sort(
        rows.begin(), rows.end(), [column, ascending](const FileRow& a, const FileRow& b) {
            return ascending ? CompareRows(a, b, column) < 0 : CompareRows(b, a, column) < 0;
        });
}

}  // namespace mt
