#pragma once
// One row of the file list: the seven cell texts as people read them, the date and size
// tags it sorts by, and whether the row is set in italics. Computed once per refill, so
// that showing and sorting the list never asks the disk anything.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "mediafolder/tarnwicker.h"

namespace mt {

struct FileRow {
    enum Column { kVolume, kProject, kName, kDate, kSize, kIdx, kOn, kColumnCount };

    // Volume, Project, Name, Date, Size, Idx, On; display texts (UTF-8).
    std::array<std::string, kColumnCount> cells;
    std::optional<TimePoint> date;  // none when the file does not exist
    double size = 0;                // data fork plus resource fork; 0 when the file is gone
    bool italic = false;            // size 0: every cell in italics, "-" in the On column
};

// The headings of the seven columns and their shares of the list's width, in percent.
extern const std::array<const char*, FileRow::kColumnCount> kFileColumnHeadings;
extern const std::array<int, FileRow::kColumnCount> kFileColumnWidths;

// The row of one media file, its names decoded for display one by one.
FileRow FileRowOf(MediaFile& media);
// The same row with the volume, project and file names as the bytes they are on disk, for
// output that scripts read and pass back (mactarnwick-cli).
FileRow FileRowOfBytes(MediaFile& media);

// The rows of every member of the folders, folder after folder, in catalogue order.
std::vector<FileRow> FileRowsOf(const std::vector<TarnwickerPtr>& folders);

// How a sits against b when the list is sorted by column, ascending: -1, 0 or 1. The Date
// column compares the date tags (rows without a date first, two without equal), the Size
// column the size tags as numbers; every other column compares the cell texts ignoring letter
// case.
int CompareRows(const FileRow& a, const FileRow& b, int column);

// Sorts rows by column with CompareRows; equal rows keep their order.
void SortRows(std::vector<FileRow>& rows, int column, bool ascending);

}  // namespace mt
