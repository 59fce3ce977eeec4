// The file rows: the On column and italics from the size and the online flag, and the order
// of the rows when sorted by a column (dates and sizes as values, the rest as text).

#include "session/file_row.h"

#include <gtest/gtest.h>

#include "fixtures/media_files.h"
#include "fixtures/temp_folder.h"

namespace mt {
namespace {

using namespace fixtures;

FileRow Row(std::string name, std::optional<TimePoint> date, double size) {
    FileRow row;
    row.cells[FileRow::kName] = std::move(name);
    row.date = date;
    row.size = size;
    return row;
}

TEST(FileRowTest, TheOnColumnAndItalicsFollowSizeAndOnline) {
    TempFolder temp;
    const std::string volume = MakeVolume(temp.path(), "Media");
    const std::string media = MakeMediaFolder(volume);
    WriteMediaFile(media + "/full.omf", "P", 500);
    WriteFileBytes(media + "/empty.omf", "");
    struct Case {
        const char* name;
        bool online;
        const char* on;
        bool italic;
    } cases[] = {{"full.omf", true, "X", false},
                 {"full.omf", false, "", false},
                 {"empty.omf", true, "-", true},
                 {"gone.omf", true, "-", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.online ? " online" : " offline"));
        MediaFile file;
        file.file =
            ItemOnVolume(volume, std::string("OMFI MediaFiles/") + c.name, RealFileSystem());
        file.project = "P";
        file.informationsource = "F";
        file.online = c.online;

        const FileRow row = FileRowOf(file);

        EXPECT_EQ(row.cells[FileRow::kOn], c.on);
        EXPECT_EQ(row.italic, c.italic);
        EXPECT_EQ(row.cells[FileRow::kVolume], "Media");
        EXPECT_EQ(row.cells[FileRow::kIdx], "F");
        EXPECT_EQ(row.date.has_value(), std::string(c.name) != "gone.omf");
    }
}

TEST(FileRowTest, NamesAreDecodedForDisplayAndKeptAsBytesForOutput) {
    TempFolder temp;
    const std::string volume = MakeVolume(temp.path(), "Media");
    MediaFile file;
    file.file = ItemOnVolume(volume, "OMFI MediaFiles/\x8e.omf", RealFileSystem());
    file.project = "\x83tude";

    EXPECT_EQ(FileRowOf(file).cells[FileRow::kProject], "\xc3\x89tude");
    EXPECT_EQ(FileRowOf(file).cells[FileRow::kName], "\xc3\xa9.omf");
    EXPECT_EQ(FileRowOfBytes(file).cells[FileRow::kProject], "\x83tude");
    EXPECT_EQ(FileRowOfBytes(file).cells[FileRow::kName], "\x8e.omf");
}

TEST(FileRowTest, CompareRowsByColumn) {
    const TimePoint early = std::chrono::system_clock::from_time_t(1000);
    const TimePoint late = std::chrono::system_clock::from_time_t(2000);
    struct Case {
        const char* name;
        FileRow a, b;
        int column, expected;
    } cases[] = {
        {"BothWithoutDate", Row("a", {}, 0), Row("b", {}, 0), FileRow::kDate, 0},
        {"SecondWithoutDate", Row("a", early, 0), Row("b", {}, 0), FileRow::kDate, 1},
        {"FirstWithoutDate", Row("a", {}, 0), Row("b", early, 0), FileRow::kDate, -1},
        {"SameDate", Row("a", late, 0), Row("b", late, 0), FileRow::kDate, 0},
        {"LaterDate", Row("a", late, 0), Row("b", early, 0), FileRow::kDate, 1},
        {"EarlierDate", Row("a", early, 0), Row("b", late, 0), FileRow::kDate, -1},
        // 900 bytes, 2 KB and 1 MB by value, not by their texts.
        {"BytesBeforeKilobytes", Row("a", {}, 900), Row("b", {}, 2048), FileRow::kSize, -1},
        {"MegabytesAfterKilobytes", Row("a", {}, 1048576), Row("b", {}, 2048), FileRow::kSize, 1},
        {"SameSize", Row("a", {}, 5), Row("b", {}, 5), FileRow::kSize, 0},
        {"NameAsText", Row("Take 2", {}, 0), Row("take 10", {}, 0), FileRow::kName, 1},
        {"NameIgnoringCase", Row("ABC", {}, 0), Row("abc", {}, 0), FileRow::kName, 0},
        {"NoSuchColumn", Row("a", {}, 1), Row("b", {}, 2), 9, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CompareRows(c.a, c.b, c.column), c.expected);
        EXPECT_EQ(CompareRows(c.b, c.a, c.column), -c.expected);
    }
}

TEST(FileRowTest, SortingKeepsEqualRowsInTheirOrder) {
    std::vector<FileRow> rows = {Row("first", {}, 5), Row("big", {}, 9), Row("second", {}, 5),
                                 Row("small", {}, 1)};
    auto names = [&rows] {
        std::vector<std::string> out;
        for (const auto& row : rows) out.push_back(row.cells[FileRow::kName]);
        return out;
    };

    SortRows(rows, FileRow::kSize, true);
    EXPECT_EQ(names(), (std::vector<std::string>{"small", "first", "second", "big"}));
    SortRows(rows, FileRow::kSize, false);
    EXPECT_EQ(names(), (std::vector<std::string>{"big", "first", "second", "small"}));
}

}  // namespace
}  // namespace mt
