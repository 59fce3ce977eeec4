// The log book: blocks appended exactly, each line decoded on its own, and the save that
// never loses the log: into the first folder that takes it, never over a file, written to a
// temporary that gets its name only when complete, with faults injected into the seam.

#include "session/log_book.h"

#include <cerrno>
#include <filesystem>

#include <gtest/gtest.h>

#include "fixtures/fake_window.h"
#include "fixtures/fault_injecting_file_system.h"
#include "fixtures/media_files.h"
#include "fixtures/scripted_file_system.h"
#include "fixtures/temp_folder.h"
#include "fixtures/volume_builder.h"
#include "session/session.h"

namespace mt {
namespace {

using namespace fixtures;
namespace stdfs = std::filesystem;

const TimePoint kNow = std::chrono::system_clock::now();

TEST(LogBookTest, BlocksFollowEachOtherExactly) {
    LogBook log;
    EXPECT_TRUE(log.Empty());
    log.Append("2024-01-02 03:04:05 Sift Project A\n2024-01-02 03:04:06 end \n");
    log.Append("2024-01-02 03:05:00 Copy Bin B\nno end of line");

    EXPECT_EQ(log.Text(),
              "2024-01-02 03:04:05 Sift Project A\n2024-01-02 03:04:06 end \n"
              "2024-01-02 03:05:00 Copy Bin B\nno end of line");
}

TEST(LogBookTest, EachLineIsDecodedOnItsOwn) {
    LogBook log;
    // A Mac Roman line and a UTF-8 line in one block: decoding the block as a whole would
    // take both for Mac Roman.
    log.Append("Sift Project \x83tude\nCopy Caf\xc3\xa9.omf\n");

    EXPECT_EQ(log.Text(), "Sift Project \xc3\x89tude\nCopy Caf\xc3\xa9.omf\n");
}

TEST(LogBookTest, FileNameIsTheDateStampWithDots) {
    std::tm parts{};
    parts.tm_year = 2024 - 1900;
    parts.tm_mon = 2;
    parts.tm_mday = 7;
    parts.tm_hour = 9;
    parts.tm_min = 5;
    parts.tm_sec = 3;
    parts.tm_isdst = -1;
    const TimePoint t = std::chrono::system_clock::from_time_t(std::mktime(&parts));

    EXPECT_EQ(LogFileName(t), "2024-03-07 09.05.03.txt");
}

class LogSaveTest : public ::testing::Test {
protected:
    LogSaveTest() { log.Append("2024-01-02 03:04:05 Sift Project \x83tude\n"); }

    std::string Folder(const std::string& name) const { return temp.Path(name); }
    std::string Expected(const std::string& folder, const std::string& suffix = "") const {
        std::string name = LogFileName(kNow);
        return folder + "/" + name.substr(0, name.size() - 4) + suffix + ".txt";
    }

    TempFolder temp;
    LogBook log;
};

TEST_F(LogSaveTest, AnEmptyLogWritesNothingAndMakesNoFolder) {
    LogBook empty;
    const auto result = empty.Save(RealFileSystem(), {Folder("logfiles")}, kNow);

    ASSERT_TRUE(result.saved);
    EXPECT_EQ(result.saved->path, "");
    EXPECT_FALSE(result.failure);
    EXPECT_FALSE(PathExists(Folder("logfiles")));
}

TEST_F(LogSaveTest, MakesTheFolderAndWritesTheTextUnderTheDateStamp) {
    const auto result = log.Save(RealFileSystem(), {Folder("logfiles")}, kNow);

    ASSERT_TRUE(result.saved);
    EXPECT_EQ(result.saved->path, Expected(Folder("logfiles")));
    EXPECT_EQ(ReadFileBytes(result.saved->path), log.Text());
    EXPECT_EQ(ListFolder(Folder("logfiles")), std::vector<std::string>{LogFileName(kNow)});
}

TEST_F(LogSaveTest, ATakenNameIsNeverWrittenOver) {
    MakeFolder(Folder("logfiles"));
    WriteFileBytes(Expected(Folder("logfiles")), "an earlier log");
    WriteFileBytes(Expected(Folder("logfiles"), " 2"), "another");

    const auto result = log.Save(RealFileSystem(), {Folder("logfiles")}, kNow);

    ASSERT_TRUE(result.saved);
    EXPECT_EQ(result.saved->path, Expected(Folder("logfiles"), " 3"));
    EXPECT_EQ(ReadFileBytes(Expected(Folder("logfiles"))), "an earlier log");
    EXPECT_EQ(ReadFileBytes(result.saved->path), log.Text());
}

TEST_F(LogSaveTest, ANameTakenBetweenTheLookAndTheRenameIsNotWrittenOver) {
    MakeFolder(Folder("logfiles"));
    ScriptedFileSystem fs(RealFileSystem());
    const std::string name = Expected(Folder("logfiles"));
    // Another program saves its file under the name just before the rename.
    fs.SetScript([&](ScriptedFileSystem::Call& call) -> std::optional<FileError> {
        if (call.op == "Rename" && call.nth == 1) WriteFileBytes(call.path2, "theirs");
        return std::nullopt;
    });

    const auto result = log.Save(fs, {Folder("logfiles")}, kNow);

    ASSERT_TRUE(result.saved);
    EXPECT_EQ(result.saved->path, Expected(Folder("logfiles"), " 2"));
    EXPECT_EQ(ReadFileBytes(name), "theirs");
    EXPECT_EQ(ReadFileBytes(result.saved->path), log.Text());
    EXPECT_EQ(ListFolder(Folder("logfiles")).size(), 2u);
}

TEST_F(LogSaveTest, AFolderThatCannotBeWrittenGivesWayToTheNext) {
    MakeFolder(Folder("beside the application"));
    ScriptedFileSystem fs(RealFileSystem());
    fs.SetScript([&](ScriptedFileSystem::Call& call) -> std::optional<FileError> {
        if (call.op == "CreateNew" && IsAtOrBelow(call.path, Folder("beside the application")))
            return ErrorFromSystem(EACCES);
        return std::nullopt;
    });

    const auto result =
        log.Save(fs, {Folder("beside the application"), Folder("data/logfiles")}, kNow);

    ASSERT_TRUE(result.saved);
    EXPECT_EQ(result.saved->path, Expected(Folder("data/logfiles")));
    EXPECT_TRUE(ListFolder(Folder("beside the application")).empty());
}

TEST_F(LogSaveTest, ADiskFullMidWriteLeavesNothingAndTheNextFolderIsTried) {
    LogBook big;
    for (int i = 0; i < 3000; ++i)
        big.Append("2024-01-02 03:04:05 a line of the log " + std::to_string(i) + "\n");
    ASSERT_GT(big.Text().size(), 64u * 1024u);
    ScriptedFileSystem fs(RealFileSystem());
    fs.SetScript([&](ScriptedFileSystem::Call& call) -> std::optional<FileError> {
        if (call.op == "Write" && IsAtOrBelow(call.path, Folder("full")) && call.position > 0) {
            call.partial = 100;
            return ErrorFromSystem(ENOSPC);
        }
        return std::nullopt;
    });

    const auto result = big.Save(fs, {Folder("full"), Folder("roomy")}, kNow);

    ASSERT_TRUE(result.saved);
    EXPECT_EQ(result.saved->path, Expected(Folder("roomy")));
    EXPECT_EQ(ReadFileBytes(result.saved->path), big.Text());
    // Neither a part of the log under its name nor the temporary is left in the full folder.
    EXPECT_TRUE(ListFolder(Folder("full")).empty());
    EXPECT_EQ(ListFolder(Folder("roomy")), std::vector<std::string>{LogFileName(kNow)});
}

TEST_F(LogSaveTest, AFileInTheWayOfTheFolderGivesWayToTheNext) {
    WriteFileBytes(Folder("logfiles"), "not a folder");

    const auto result = log.Save(RealFileSystem(), {Folder("logfiles"), Folder("other")}, kNow);

    ASSERT_TRUE(result.saved);
    EXPECT_EQ(result.saved->path, Expected(Folder("other")));
    EXPECT_EQ(ReadFileBytes(Folder("logfiles")), "not a folder");
}

TEST_F(LogSaveTest, WhenNoFolderTakesItTheFailureNamesEachFolderAndWhy) {
    WriteFileBytes(Folder("logfiles"), "not a folder");
    FaultInjectingFileSystem fs(RealFileSystem());
    fs.FailCreateFolder(EACCES);

    const auto result = log.Save(fs, {Folder("logfiles"), Folder("data/logfiles")}, kNow);

    EXPECT_FALSE(result.saved);
    ASSERT_TRUE(result.failure);
    const std::string& message = result.failure->message;
    EXPECT_NE(message.find("could not be saved"), std::string::npos) << message;
    EXPECT_NE(message.find(Folder("logfiles") + ": a file of that name is in the way"),
              std::string::npos)
        << message;
    EXPECT_NE(message.find(Folder("data/logfiles") + ": the folder could not be made (" +
                           ErrorFromSystem(EACCES).message + ")"),
              std::string::npos)
        << message;
    EXPECT_FALSE(PathExists(Folder("data")));
}

TEST_F(LogSaveTest, ARefusedRenameRemovesTheTemporary) {
    FaultInjectingFileSystem fs(RealFileSystem());
    fs.FailNthRename(1, EIO);

    const auto result = log.Save(fs, {Folder("logfiles")}, kNow);

    ASSERT_TRUE(result.failure);
    EXPECT_NE(result.failure->message.find("could not be given its name"), std::string::npos);
    EXPECT_TRUE(ListFolder(Folder("logfiles")).empty());
}

// The session saves on closing; when nothing takes the log, a message box says so before the
// window closes.
TEST(SessionSaveLogTest, AFailedSaveIsShownInAMessageBox) {
    TempFolder temp;
    HookRecorder hooks;
    FaultInjectingFileSystem fs(RealFileSystem());
    fs.FailCreateNew(ENOSPC);
    const TestVolume volume = BuildVolume(temp.path(), "One", {{"A.mxf", "Alpha"}});
    Session session(fs, [&] { return std::vector<FolderItem>{FolderItem::Volume(volume.top, fs)}; },
                    {temp.Path("logfiles")});
    session.BuildVolumeList();
    session.FirstScan();
    session.SaveLog();
    EXPECT_TRUE(hooks.messages.empty()) << "an empty log needs no file";

    session.SiftVolumes();
    ASSERT_FALSE(session.log().Empty());
    hooks.messages.clear();
    const auto result = session.SaveLog();

    ASSERT_TRUE(result.failure);
    EXPECT_EQ(hooks.messages, std::vector<std::string>{result.failure->message});
    EXPECT_TRUE(ListFolder(temp.Path("logfiles")).empty());
}

}  // namespace
}  // namespace mt
