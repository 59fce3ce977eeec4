// Reading the media database "msmFMID.pmr" into the catalogue of a media folder.

#include "mediafolder/media_database_reader.h"

#include <cerrno>
#include <climits>
#include <filesystem>

#include <gtest/gtest.h>

#include "fixtures/database_builders.h"
#include "fixtures/fake_window.h"
#include "fixtures/fault_injecting_file_system.h"
#include "fixtures/media_files.h"
#include "fixtures/realdata.h"
#include "fixtures/temp_folder.h"
#include "fixtures/volume_builder.h"
#include "mediafolder/tarnwicker.h"

namespace mt {
namespace {

using namespace fixtures;

// A volume "Media" whose media folder holds the given database bytes and nothing else.
struct DatabaseOnly {
    TempFolder temp;
    std::string media;

    explicit DatabaseOnly(const Bytes& database) {
        media = MakeMediaFolder(MakeVolume(temp.path(), "Media"));
        WriteFileBytes(media + "/msmFMID.pmr", database);
    }
    std::unique_ptr<Tarnwicker> Read(FileSystem& fs) {
        auto folder =
            std::make_unique<Tarnwicker>(FolderItem::Volume(temp.Path("Media"), fs), false);
        folder->ReadDatabase();
        return folder;
    }
};

size_t CountFrom(const Tarnwicker& folder, const std::string& source) {
    size_t n = 0;
    for (const auto& m : folder.MediaFiles) n += m->informationsource == source;
    return n;
}

TEST(MediaDatabaseReaderTest, RecordsBecomeMediaFilesInFileOrder) {
    TempFolder temp;
    // ".mxf" names: the folder scan leaves them alone, so the catalogue is the records.
    const std::vector<fixtures::DatabaseRecord> records = {
        {MobId(11), "Spot30-A.mxf", "Spot30", "postmob-0001"},
        {MobId(12), "Spot30-B.mxf", "Spot30", "postmob-0002"},
        {MobId(13), "Trailer-A.mxf", "Trailer", "postmob-0003"},
    };
    std::string media = MakeMediaFolder(MakeVolume(temp.path(), "Media"));
    for (const auto& r : records) WriteFileBytes(media + "/" + r.fileName, "data");
    WriteFileBytes(media + "/msmMMOB.mdb", "index");
    WriteDatabase(media + "/msmFMID.pmr", records);
    HookRecorder hooks;

    Tarnwicker folder(FolderItem::Volume(temp.Path("Media"), RealFileSystem()), false);
    folder.ReadDatabase();

    ASSERT_EQ(folder.MediaFiles.size(), 3u);
    for (size_t i = 0; i < records.size(); ++i) {
        const MediaFile& m = *folder.MediaFiles[i];
        SCOPED_TRACE(records[i].fileName);
        EXPECT_EQ(m.premob, records[i].mobId);
        EXPECT_EQ(m.filename, records[i].fileName);
        EXPECT_EQ(m.project, records[i].project);
        EXPECT_EQ(m.postmob, records[i].trailing);
        EXPECT_EQ(m.informationsource, "D");
        EXPECT_TRUE(m.online);
        EXPECT_EQ(m.error, "");
        ASSERT_TRUE(m.file);
        EXPECT_EQ(m.file->ShellPath(), media + "/" + records[i].fileName);
    }
    EXPECT_EQ(folder.projectdict.Count(), 2u);
    EXPECT_EQ(folder.GetProjectList(), (std::vector<Bytes>{"Spot30", "Trailer"}));
    EXPECT_TRUE(folder.Scanned());
    EXPECT_EQ(folder.error, "");
    // The window stays responsive: a yield at least for every record.
    EXPECT_GE(hooks.yields, 3);
}

// Stat finds an entry whatever the letter case of the name asked for, as on the Mac's own
// volumes; everything else goes to the real file system.
class IgnoringCase : public FileSystemWrapper {
public:
    IgnoringCase() : FileSystemWrapper(RealFileSystem()) {}
    FileInfo Stat(const std::string& p) override {
        FileInfo info = target_.Stat(p);
        if (info.exists) return info;
        const std::string folder = p.substr(0, p.rfind('/'));
        for (const DirEntry& entry : target_.List(folder)) {
            if (EqualsIgnoringCase(entry.name, LastComponent(p)))
                return target_.Stat(folder + "/" + entry.name);
        }
        return info;
    }
};

TEST(MediaDatabaseReaderTest, EachFileIsCataloguedOnceAndTheScanAddsTheRest) {
    TempFolder temp;
    TestVolume volume =
        BuildVolume(temp.path(), "Media", {{"Clip.omf", "Spot30"}, {"Take.omf", "Spot30"}});
    WriteMediaFile(volume.MediaPath("Extra.omf"), "Trailer", 300);
    MakeFolder(volume.MediaPath("Spot30_sifted"));
    WriteMediaFile(volume.MediaPath("Spot30_sifted/Old.omf"), "Spot30", 400);
    std::vector<std::string> onDisk;
    for (const char* name : {"Clip.omf", "Take.omf", "Extra.omf", "Spot30_sifted/Old.omf"})
        onDisk.push_back(volume.MediaPath(name));

    Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);
    folder.ReadDatabase();

    std::vector<std::pair<Bytes, std::string>> catalogue;
    for (const auto& m : folder.MediaFiles)
        catalogue.emplace_back(m->filename, m->informationsource);
    EXPECT_EQ(catalogue,
              (std::vector<std::pair<Bytes, std::string>>{
                  {"Clip.omf", "D"}, {"Take.omf", "D"}, {"Extra.omf", "F"}, {"Old.omf", "F"}}));
    EXPECT_EQ(folder.GetProjectList(),
              (std::vector<Bytes>{"Spot30", "Spot30[Spot30_sifted]", "Trailer[OMFI MediaFiles]"}));
    // The volume's size counts every file once.
    double size = 0;
    for (const auto& path : onDisk) size += static_cast<double>(std::filesystem::file_size(path));
    EXPECT_EQ(folder.GetSize(), size);
    EXPECT_EQ(folder.DumpStatus(), "Media - 2 Files " + Worker::MegaString(size));
}

TEST(MediaDatabaseReaderTest, RecordAndFileWhoseNamesDifferInCase) {
    TempFolder temp;
    std::string media = MakeMediaFolder(MakeVolume(temp.path(), "Media"));
    WriteMediaFile(media + "/clip.omf", "Spot30", 100);
    WriteDatabase(media + "/msmFMID.pmr", {{MobId(1), "CLIP.OMF", "Spot30"}});
    WriteFileBytes(media + "/msmMMOB.mdb", "index");

    // Where the volume ignores case, the record names the file: catalogued once.
    IgnoringCase mac;
    Tarnwicker onMac(FolderItem::Volume(temp.Path("Media"), mac), false);
    onMac.ReadDatabase();
    ASSERT_EQ(onMac.MediaFiles.size(), 1u);
    EXPECT_EQ(onMac.MediaFiles[0]->informationsource, "D");
    EXPECT_EQ(onMac.error, "");

    // Where it does not, the record names a file that is not there, and the file on disk is
    // another one, which the scan keeps.
    Tarnwicker onLinux(FolderItem::Volume(temp.Path("Media"), RealFileSystem()), false);
    onLinux.ReadDatabase();
    ASSERT_EQ(onLinux.MediaFiles.size(), 2u);
    EXPECT_EQ(onLinux.MediaFiles[1]->filename, "clip.omf");
    EXPECT_EQ(onLinux.error, "files missing");
}

TEST(MediaDatabaseReaderTest, SecondReadReplacesTheCatalogue) {
    TempFolder temp;
    TestVolume volume = BuildVolume(temp.path(), "Media", {{"Clip.omf", "Spot30"}});
    Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);
    folder.ReadDatabase();
    MediaFilePtr first = folder.MediaFiles[0];

    folder.ReadDatabase();

    EXPECT_EQ(folder.MediaFiles.size(), 1u);
    EXPECT_EQ(folder.projectdict.Count(), 1u);
    EXPECT_NE(folder.MediaFiles[0], first);  // new records
    EXPECT_EQ(first->project, "Spot30");     // the old one is left as it was
}

// The header count against the records that are there.
struct CountCase {
    const char* label;
    uint32_t count;  // as written in the header
    size_t recordsWritten;
    size_t recordsRead;
};

class DatabaseCountTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(DatabaseCountTest, ReadsAtMostCountAndNeverPastTheEnd) {
    const CountCase& c = GetParam();
    TempFolder temp;
    std::string media = MakeMediaFolder(MakeVolume(temp.path(), "Media"));
    std::vector<fixtures::DatabaseRecord> records;
    for (size_t i = 0; i < c.recordsWritten; ++i) {
        const std::string name = "Clip" + std::to_string(i) + ".omf";
        WriteMediaFile(media + "/" + name, "Spot30", 100 + i);
        records.push_back({MobId(static_cast<uint32_t>(i + 1)), name, "Spot30"});
    }
    WriteDatabase(media + "/msmFMID.pmr", records, false, c.count);

    Tarnwicker folder(FolderItem::Volume(temp.Path("Media"), RealFileSystem()), false);
    const std::string verdict = folder.error;
    folder.ReadDatabase();

    EXPECT_EQ(folder.databasecount, static_cast<int32_t>(c.count));
    EXPECT_FALSE(folder.databaseLittleEndian);
    EXPECT_EQ(CountFrom(folder, "D"), c.recordsRead);
    for (size_t i = 0; i < c.recordsRead; ++i) {
        EXPECT_EQ(folder.MediaFiles[i]->filename, records[i].fileName);
    }
    // The folder scan runs after the records whatever the count, and adds the files that
    // the records read do not list.
    EXPECT_EQ(CountFrom(folder, "F"), c.recordsWritten - c.recordsRead);
    EXPECT_TRUE(folder.Scanned());
    // A read that found every file it read leaves the verdict of the checks alone.
    EXPECT_EQ(folder.error, verdict);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, DatabaseCountTest,
    ::testing::Values(CountCase{"Exact", 3, 3, 3}, CountCase{"Zero", 0, 3, 0},
                      CountCase{"MinusOne", 0xFFFFFFFFu, 3, 0},
                      CountCase{"Lowest", 0x80000000u, 3, 0},
                      CountCase{"SmallerThanRecords", 2, 3, 2},
                      // Far more than the file can hold: still read big-endian, to the end.
                      CountCase{"LargerThanRecords", 1000, 3, 3},
                      CountCase{"LargestPositive", 0x7FFFFFFFu, 3, 3},
                      CountCase{"NoRecordsAtAll", 5, 0, 0}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(MediaDatabaseReaderTest, RecordCutShortIsReadWithWhatIsThere) {
    const Bytes full = BuildDatabase({{MobId(1), "First.omf", "Spot30", "123456789012"},
                                      {MobId(2), "Second.omf", "Trailer", "abcdefghijkl"}});
    const size_t firstEnd = 12 + 24 + 9 + 6;
    ASSERT_EQ(full.size(), firstEnd + 24 + 10 + 7);

    // Every length the file could have been cut to.
    for (size_t length = 0; length <= full.size(); ++length) {
        SCOPED_TRACE(length);
        DatabaseOnly db(full.substr(0, length));
        auto folder = db.Read(RealFileSystem());
        const size_t expected = length <= 12 ? 0 : length <= firstEnd ? 1 : 2;
        ASSERT_EQ(folder->MediaFiles.size(), expected);
        if (expected == 2) {
            const MediaFile& second = *folder->MediaFiles[1];
            EXPECT_EQ(second.premob, MobId(2).substr(0, std::min<size_t>(8, length - firstEnd)));
            EXPECT_EQ(second.postmob.size(), length - std::min(length, full.size() - 12));
        }
    }

    // Cut in the middle of the second file name.
    DatabaseOnly db(full.substr(0, firstEnd + 8 + 2 + 3));
    auto folder = db.Read(RealFileSystem());
    ASSERT_EQ(folder->MediaFiles.size(), 2u);
    EXPECT_EQ(folder->MediaFiles[1]->filename, "Sec");
    EXPECT_EQ(folder->MediaFiles[1]->project, "");
    EXPECT_EQ(folder->MediaFiles[1]->postmob, "");
    EXPECT_EQ(folder->error, "files missing");
}

TEST(MediaDatabaseReaderTest, NegativeLengthsReadAsEmptyNames) {
    // Record: id, N1 = -1, N2 = 6 "Spot30", 12 bytes; then id, N1 = 5 "B.omf", N2 = -32768.
    Bytes database = Bytes(8, '\0') + BE32(2);
    database += MobId(1) + BE16(0xFFFF) + BE16(6) + "Spot30" + Bytes(12, 't');
    database += MobId(2) + BE16(5) + "B.omf" + BE16(0x8000) + Bytes(12, 'u');
    DatabaseOnly db(database);
    WriteMediaFile(db.media + "/B.omf", "Trailer", 100);

    auto folder = db.Read(RealFileSystem());

    ASSERT_EQ(CountFrom(*folder, "D"), 2u);
    EXPECT_EQ(folder->MediaFiles[0]->filename, "");
    EXPECT_EQ(folder->MediaFiles[0]->project, "Spot30");
    EXPECT_EQ(folder->MediaFiles[0]->postmob, Bytes(12, 't'));
    EXPECT_FALSE(folder->MediaFiles[0]->file->Exists());
    EXPECT_EQ(folder->MediaFiles[1]->filename, "B.omf");
    EXPECT_EQ(folder->MediaFiles[1]->project, "");
    EXPECT_EQ(folder->MediaFiles[1]->postmob, Bytes(12, 'u'));
    EXPECT_EQ(folder->error, "files missing");
}

TEST(MediaDatabaseReaderTest, DamagedDatabasesAreReadWithoutHarm) {
    std::vector<Bytes> inputs = {
        Bytes(),
        Bytes("\x01\x02\x03", 3),
        Bytes(8, '\0') + BE32(0x7FFFFFFF),
        Bytes(8, '\0') + BE32(4) + Bytes(7, '\xff'),
        Bytes(8, '\0') + BE32(3) + MobId(1) + BE16(0x7FFF) + "short",
        Bytes(8, '\0') + LE32(3) + MobId(1) + LE16(0xFFFF) + Bytes(40, '\xff'),
    };
    for (unsigned seed = 1; seed <= 24; ++seed) {
        inputs.push_back(Payload(seed * 37, seed));
        inputs.push_back(Bytes(8, '\0') + BE32(seed) + Payload(seed * 11, seed));
        inputs.push_back(Bytes(8, '\0') + LE32(seed) + Payload(seed * 13, seed + 100));
    }
    for (const Bytes& input : inputs) {
        SCOPED_TRACE(input.size());
        DatabaseOnly db(input);
        const auto before = SnapshotTree(db.temp.path());
        auto folder = db.Read(RealFileSystem());
        EXPECT_TRUE(folder->Scanned());
        EXPECT_LE(folder->MediaFiles.size(), input.size());
        for (const auto& m : folder->MediaFiles) {
            EXPECT_LE(m->premob.size(), 8u);
            EXPECT_LE(m->postmob.size(), 12u);
            // Whatever the bytes say, the file is looked for inside the media folder.
            const std::string path = m->file->ShellPath();
            EXPECT_EQ(path.rfind(db.media, 0), 0u) << path;
            EXPECT_EQ(path.find('/', db.media.size() + 1), std::string::npos) << path;
        }
        EXPECT_EQ(SnapshotTree(db.temp.path()), before);
    }
}

// Opens the database only when allowed; everything else goes to the real file system.
class SwitchableOpen : public FileSystemWrapper {
public:
    SwitchableOpen() : FileSystemWrapper(RealFileSystem()) {}
    std::unique_ptr<ReadableFile> OpenRead(const std::string& p, FileError* e) override {
        if (!allowDatabase && LastComponent(p) == kDatabaseName) {
            if (e) *e = ErrorFromSystem(EACCES);
            return nullptr;
        }
        return target_.OpenRead(p, e);
    }
    bool allowDatabase = true;
};

TEST(MediaDatabaseReaderTest, DatabaseThatOpensOnlyLaterIsReadWithCountZero) {
    TempFolder temp;
    TestVolume volume =
        BuildVolume(temp.path(), "Media", {{"A.omf", "Spot30"}, {"B.omf", "Trailer"}});
    SwitchableOpen fs;
    fs.allowDatabase = false;
    Tarnwicker folder(FolderItem::Volume(volume.top, fs), false);
    ASSERT_EQ(folder.error, "cannot read database");
    ASSERT_EQ(folder.databasecount, 0);

    fs.allowDatabase = true;
    folder.ReadDatabase();

    EXPECT_EQ(CountFrom(folder, "D"), 0u);
    EXPECT_EQ(CountFrom(folder, "F"), 2u);
    EXPECT_TRUE(folder.Scanned());
    EXPECT_EQ(folder.error, "cannot read database");
}

TEST(MediaDatabaseReaderTest, DatabaseThatNoLongerOpensLeavesTheCatalogueEmpty) {
    TempFolder temp;
    TestVolume volume = BuildVolume(temp.path(), "Media", {{"A.omf", "Spot30"}});
    WriteFileBytes(volume.MediaPath("msmMMOB.mdb"), "index");
    SwitchableOpen fs;
    Tarnwicker folder(FolderItem::Volume(volume.top, fs), false);
    ASSERT_EQ(folder.error, "");
    folder.ReadDatabase();
    ASSERT_FALSE(folder.MediaFiles.empty());

    fs.allowDatabase = false;
    folder.ReadDatabase();

    EXPECT_EQ(folder.error, "cannot read database");
    EXPECT_TRUE(folder.MediaFiles.empty());  // no folder scan either
    EXPECT_EQ(folder.projectdict.Count(), 0u);
}

TEST(MediaDatabaseReaderTest, WithoutDatabaseTheFolderScanAloneRuns) {
    TempFolder temp;
    TestVolume volume =
        BuildVolume(temp.path(), "Media", {{"A.omf", "Spot30"}, {"B.omf", "Trailer"}}, false);
    Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);
    folder.ReadDatabase();

    EXPECT_EQ(CountFrom(folder, "F"), 2u);
    EXPECT_EQ(folder.MediaFiles.size(), 2u);
    EXPECT_FALSE(folder.Scanned());  // read again by every scan
    EXPECT_EQ(folder.error, "no Media Database");
}

TEST(MediaDatabaseReaderTest, RealLittleEndianDatabase) {
    MT_REQUIRE_REALDATA();
    TempFolder temp;
    std::string media = MakeMediaFolder(MakeVolume(temp.path(), "Media"));
    std::filesystem::copy_file(RealDataPath("pmr/msmFMID.pmr"), media + "/msmFMID.pmr");

    Tarnwicker folder(FolderItem::Volume(temp.Path("Media"), RealFileSystem()), false);
    EXPECT_EQ(folder.databasecount, 12);
    EXPECT_TRUE(folder.databaseLittleEndian);
    EXPECT_EQ(folder.error, "database not up to date");
    folder.ReadDatabase();

    ASSERT_EQ(folder.MediaFiles.size(), 12u);
    EXPECT_EQ(folder.MediaFiles[0]->filename, "5xqrhWYFFfdzpMZMY.wav");
    EXPECT_EQ(folder.MediaFiles[0]->premob, Bytes("\x23\x7f\xf5\xe5\x8d\x59\xec\x22", 8));
    EXPECT_EQ(folder.MediaFiles[1]->filename, "5brrhWYFFfdzpMZMY.wav");
    for (const auto& m : folder.MediaFiles) {
        EXPECT_EQ(m->filename.size(), 21u);
        EXPECT_EQ(m->project, "");
        EXPECT_EQ(m->postmob, Bytes(12, '\0'));
        EXPECT_FALSE(m->file->Exists());
    }
    EXPECT_EQ(folder.error, "files missing");
    EXPECT_EQ(folder.DumpStatus(), "Media - 12 Files - - files missing");
    EXPECT_EQ(folder.GetProjectList(), std::vector<Bytes>{""});
}

TEST(MediaDatabaseReaderTest, LittleEndianDatabaseIsReadInThatOrder) {
    TempFolder temp;
    std::string media = MakeMediaFolder(MakeVolume(temp.path(), "Media"));
    WriteMediaFile(media + "/A.mxf", "Spot30", 100);
    WriteFileBytes(
        media + "/msmFMID.pmr",
        BuildDatabase({{MobId(1), "A.mxf", "Spot30"}, {MobId(2), "B.mxf", "Trailer"}}, true));
    Tarnwicker folder(FolderItem::Volume(temp.Path("Media"), RealFileSystem()), false);
    folder.ReadDatabase();

    EXPECT_TRUE(folder.databaseLittleEndian);
    EXPECT_EQ(folder.databasecount, 2);
    ASSERT_EQ(folder.MediaFiles.size(), 2u);
    EXPECT_EQ(folder.MediaFiles[1]->filename, "B.mxf");
    EXPECT_EQ(folder.MediaFiles[1]->project, "Trailer");
}

// Names from the database are bytes that only ever name an entry of the media folder.
struct HostileName {
    const char* label;
    Bytes name;
    std::string onDisk;  // the entry it names; empty: none
};

class HostileNameTest : public ::testing::TestWithParam<HostileName> {};

TEST_P(HostileNameTest, NamesOnlyAnEntryOfTheMediaFolder) {
    const HostileName& c = GetParam();
    TempFolder temp;
    std::string top = MakeVolume(temp.path(), "Media");
    std::string media = MakeMediaFolder(top);
    // Bait: what a name would reach if it were taken as a path.
    WriteFileBytes(top + "/outside.mxf", "outside");
    WriteFileBytes(temp.Path("outside.mxf"), "outside");
    MakeFolder(media + "/sub");
    WriteFileBytes(media + "/sub/inner.mxf", "inner");
    if (!c.onDisk.empty()) WriteFileBytes(media + "/" + c.onDisk, "media");
    WriteDatabase(media + "/msmFMID.pmr", {{MobId(1), c.name, "Spot30"}});

    Tarnwicker folder(FolderItem::Volume(top, RealFileSystem()), false);
    folder.ReadDatabase();

    ASSERT_GE(folder.MediaFiles.size(), 1u);
    MediaFile& m = *folder.MediaFiles[0];
    EXPECT_EQ(m.filename, c.name);  // kept as bytes
    EXPECT_EQ(m.file->Exists(), !c.onDisk.empty());
    if (!c.onDisk.empty()) {
        EXPECT_EQ(m.file->ShellPath(), media + "/" + c.onDisk);
        EXPECT_EQ(folder.error, "");
    } else {
        EXPECT_EQ(folder.error, "files missing");
        EXPECT_EQ(m.GetSize(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, HostileNameTest,
    ::testing::Values(HostileName{"SlashIsColon", "a/b.mxf", "a:b.mxf"},
                      HostileName{"SlashOnlyWhenThere", "sub/inner.mxf", ""},
                      HostileName{"ParentPath", "../outside.mxf", ""},
                      HostileName{"ParentPathTwice", "../../outside.mxf", ""},
                      HostileName{"AbsolutePath", "/etc/passwd", ""}, HostileName{"Empty", "", ""},
                      HostileName{"Dot", ".", ""}, HostileName{"DotDot", "..", ""},
                      HostileName{"Tab", "tab\tname.mxf", "tab\tname.mxf"},
                      HostileName{"Newline", "new\nline.mxf", "new\nline.mxf"},
                      HostileName{"NotUtf8", "\xff\xfe\x80.mxf", "\xff\xfe\x80.mxf"},
                      HostileName{"Nul", Bytes("a\0b.mxf", 7), ""}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace mt
