// Which media files a bin uses, its status line, and copying them.

#include "projects/bin_class.h"

#include <algorithm>
#include <cstring>
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
#include "projects/bin_search.h"

namespace mt {
namespace {

using namespace fixtures;

MediaFilePtr WithId(const Bytes& premob) {
    auto media = std::make_shared<MediaFile>();
    media->premob = premob;
    return media;
}

std::shared_ptr<BinClass> BinAt(const std::string& path, FileSystem& fs) {
    auto bin = std::make_shared<BinClass>();
    bin->file = FolderItem::OnItsVolume(path, fs);
    return bin;
}

TEST(BinUsedTest, IdAnywhereInTheBinMeansUsed) {
    TempFolder temp;
    const std::string path = temp.Path("Scene 12.avb");
    WriteBin(path, {MobId(1), MobId(2)});
    // An id that only appears split across two places is not used.
    Bytes split = MobId(3);
    {
        Bytes bytes = *ReadFileBytes(path);
        bytes += split.substr(0, 4) + "gap" + split.substr(4);
        WriteFileBytes(path, bytes);
    }
    auto bin = BinAt(path, RealFileSystem());

    EXPECT_TRUE(bin->Used(*WithId(MobId(1))));
    EXPECT_TRUE(bin->Used(*WithId(MobId(2))));
    EXPECT_FALSE(bin->Used(*WithId(MobId(3))));
    EXPECT_FALSE(bin->Used(*WithId(MobId(4))));
    // Byte for byte: the same letters in another case are another id.
    WriteBin(temp.Path("case.avb"), {Bytes("abcdefgh")});
    auto caseBin = BinAt(temp.Path("case.avb"), RealFileSystem());
    EXPECT_TRUE(caseBin->Used(*WithId("abcdefgh")));
    EXPECT_FALSE(caseBin->Used(*WithId("ABCDEFGH")));
    // A file without an id (found by the folder scan) is used by no bin.
    EXPECT_FALSE(bin->Used(*WithId("")));
}

TEST(BinUsedTest, AddKeepsOnlyUsedFilesInOrder) {
    TempFolder temp;
    WriteBin(temp.Path("b.avb"), {MobId(3), MobId(1)});
    auto bin = BinAt(temp.Path("b.avb"), RealFileSystem());
    MediaFileList files = {WithId(MobId(1)), WithId(MobId(2)), WithId(""), WithId(MobId(3)),
                           WithId(MobId(1))};

    bin->AddMediaFiles(files);
    bin->AddMediaFiles({});

    EXPECT_EQ(bin->MediaFiles, (MediaFileList{files[0], files[3], files[4]}));
}

TEST(BinUsedTest, EmptyOrMissingBinIsOpenedOncePerSearchAndUsesNone) {
    TempFolder temp;
    WriteFileBytes(temp.Path("empty.avb"), "");
    for (const char* name : {"empty.avb", "missing.avb"}) {
        SCOPED_TRACE(name);
        FaultInjectingFileSystem fs(RealFileSystem());
        auto bin = BinAt(temp.Path(name), fs);
        bin->AddMediaFiles({WithId(MobId(1)), WithId(MobId(2)), WithId(MobId(3))});
        EXPECT_TRUE(bin->MediaFiles.empty());
        EXPECT_EQ(fs.CountCalls("OpenRead", temp.Path(name)), 1);
        // Files without ids need no look at the bin at all.
        bin->AddMediaFiles({WithId(""), WithId("")});
        EXPECT_EQ(fs.CountCalls("OpenRead", temp.Path(name)), 1);
    }
}

TEST(BinUsedTest, EachSearchReadsTheBinOnceInPieces) {
    TempFolder temp;
    const std::string path = temp.Path("b.avb");
    std::vector<Bytes> ids;
    for (uint32_t i = 1; i <= 2000; ++i) ids.push_back(MobId(i));
    // Far more than one piece, the last id near the end.
    Bytes content = BuildBin({ids.begin(), ids.end() - 1}, 5);
    content += Payload(3 * kBinSearchWindow + 12345, 9) + ids.back() + "tail";
    WriteFileBytes(path, content);
    FaultInjectingFileSystem fs(RealFileSystem());
    auto bin = BinAt(path, fs);
    MediaFileList files;
    for (const Bytes& id : ids) files.push_back(WithId(id));
    files.push_back(WithId(MobId(999999)));  // used by no bin

    bin->AddMediaFiles(files);

    EXPECT_EQ(bin->MediaFiles, MediaFileList(files.begin(), files.end() - 1));
    EXPECT_EQ(fs.CountCalls("OpenRead", path), 1);
    // Each byte once: what two pieces share is kept, not read again.
    EXPECT_EQ(fs.bytesRead(), content.size());
    for (const auto& call : fs.calls()) {
        if (call.op == "Read") {
            EXPECT_LE(call.size, kBinSearchWindow);
        }
    }

    // Nothing is kept between searches: a bin edited on disk is searched as it is now.
    WriteBin(path, {MobId(5000)});
    EXPECT_FALSE(bin->Used(*WithId(MobId(1))));
    EXPECT_TRUE(bin->Used(*WithId(MobId(5000))));
}

// A file that says it is far larger than memory, as a disk image chosen by mistake would:
// its bytes are made up on the way, and it ends early, as if cut short.
class HugeFileSystem : public FileSystemWrapper {
public:
    static constexpr uint64_t kClaimed = uint64_t(6) << 30;
    static constexpr uint64_t kGiven = 12 << 20;
    HugeFileSystem(FileSystem& target, std::string path, Bytes id, uint64_t idAt)
        : FileSystemWrapper(target), path_(std::move(path)), id_(std::move(id)), idAt_(idAt) {}

    std::unique_ptr<ReadableFile> OpenRead(const std::string& p, FileError* e) override {
        if (p != path_) return target_.OpenRead(p, e);
        return std::make_unique<Huge>(*this);
    }
    size_t largestRead = 0;

private:
    class Huge : public ReadableFile {
    public:
        explicit Huge(HugeFileSystem& fs) : fs_(fs) {}
        uint64_t Length() const override { return kClaimed; }
        size_t ReadAt(uint64_t position, char* buffer, size_t count) override {
            fs_.largestRead = std::max(fs_.largestRead, count);
            if (position >= kGiven) return 0;
            const size_t n = static_cast<size_t>(std::min<uint64_t>(count, kGiven - position));
            std::memset(buffer, 'x', n);
            for (size_t k = 0; k < fs_.id_.size(); ++k) {
                const uint64_t at = fs_.idAt_ + k;
                if (at >= position && at < position + n) buffer[at - position] = fs_.id_[k];
            }
            return n;
        }

    private:
        HugeFileSystem& fs_;
    };
    std::string path_;
    Bytes id_;
    uint64_t idAt_;
};

TEST(BinUsedTest, HugeFileChosenAsBinIsSearchedInBoundedPieces) {
    TempFolder temp;
    const std::string path = temp.Path("Disk Image.avb");
    WriteFileBytes(path, "stand-in");
    // The id straddles the boundary of two pieces.
    HugeFileSystem fs(RealFileSystem(), path, MobId(7), 5 * kBinSearchWindow - 3);
    auto bin = BinAt(path, fs);

    bin->AddMediaFiles({WithId(MobId(6)), WithId(MobId(7))});

    ASSERT_EQ(bin->MediaFiles.size(), 1u);
    EXPECT_EQ(bin->MediaFiles[0]->premob, MobId(7));
    EXPECT_LE(fs.largestRead, kBinSearchWindow);
    EXPECT_TRUE(bin->Used(*WithId(MobId(7))));
}

TEST(BinUsedTest, ManySearchesGiveWhatAPlainSearchGives) {
    TempFolder temp;
    std::vector<Bytes> ids;
    for (uint32_t i = 1; i <= 300; i += 2) ids.push_back(MobId(i));
    const Bytes first = "\x01\x02\x03\x04\x05\x06\x07\x08";
    const Bytes last = "\xf8\xf9\xfa\xfb\xfc\xfd\xfe\xff";
    const Bytes content = first + BuildBin(ids, 3) + last;
    const std::string path = temp.Path("big.avb");
    WriteFileBytes(path, content);
    auto bin = BinAt(path, RealFileSystem());

    std::vector<Bytes> queries = {first, last, content.substr(1, 8),
                                  content.substr(content.size() - 9, 8)};
    for (uint32_t i = 0; i <= 301; ++i) queries.push_back(MobId(i));  // half of them absent
    // Every 8 bytes of the bin at some offsets, and their neighbours changed by one bit.
    for (size_t at = 0; at + 8 <= content.size(); at += 53) {
        Bytes window = content.substr(at, 8);
        queries.push_back(window);
        window[7] = static_cast<char>(window[7] ^ 0x01);
        queries.push_back(window);
    }
    // Ids of other lengths.
    queries.push_back(first.substr(0, 3));
    queries.push_back(first + last.substr(0, 4));
    queries.push_back(content.substr(100, 20));
    queries.push_back(content.substr(100, 20) + "x");
    queries.push_back(last.substr(4) + "x");
    ASSERT_GT(queries.size(), 64u);

    for (const Bytes& q : queries) {
        const bool plain = content.find(q) != Bytes::npos;
        EXPECT_EQ(bin->Used(*WithId(q)), plain) << "query at " << &q - queries.data();
    }
    // And once more, all answered from what was built on the way.
    for (const Bytes& q : queries) EXPECT_EQ(bin->Used(*WithId(q)), content.find(q) != Bytes::npos);
}

TEST(BinUsedTest, TinyBinSearchedOftenStaysCorrect) {
    TempFolder temp;
    WriteFileBytes(temp.Path("tiny.avb"), "abcde");
    auto bin = BinAt(temp.Path("tiny.avb"), RealFileSystem());
    for (int i = 0; i < 40; ++i) {
        EXPECT_FALSE(bin->Used(*WithId("abcdefgh")));
        EXPECT_TRUE(bin->Used(*WithId("bcd")));
    }
}

TEST(BinUsedTest, RealBinsAreSearchedLikeAnyBytes) {
    MT_REQUIRE_REALDATA();
    for (const char* name : {"avb/linear01.avb", "avb/test_file_01.avb"}) {
        SCOPED_TRACE(name);
        const Bytes content = *ReadFileBytes(RealDataPath(name));
        auto bin = BinAt(RealDataPath(name), RealFileSystem());
        std::vector<Bytes> queries;
        for (uint32_t i = 0; i < 30; ++i) queries.push_back(MobId(i));
        for (size_t at = 0; at + 8 <= content.size(); at += content.size() / 23) {
            queries.push_back(content.substr(at, 8));
        }
        queries.push_back(content.substr(content.size() - 8));
        for (const Bytes& q : queries) {
            EXPECT_EQ(bin->Used(*WithId(q)), content.find(q) != Bytes::npos);
        }
    }
}

TEST(BinStatusTest, NameCountAndSize) {
    TempFolder temp;
    TestVolume volume = BuildVolume(
        temp.path(), "Media", {{"A.mxf", "Spot30"}, {"B.mxf", "Spot30"}, {"C.mxf", "Spot30"}});
    Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);
    folder.ReadDatabase();
    const std::string path = temp.Path("Scene 12.avb");
    WriteBin(path, {volume.mobIds[0], volume.mobIds[2]});

    auto unused = BinAt(temp.Path("Scene 12.avb"), RealFileSystem());
    EXPECT_EQ(unused->Name(), "Scene 12.avb");
    EXPECT_EQ(unused->DumpStatus(), "Scene 12.avb - 0 Files -");
    EXPECT_EQ(BinClass().Name(), "");

    auto bin = BinAt(path, RealFileSystem());
    bin->AddMediaFiles(folder.GetFilesForProject(""));
    const double size = static_cast<double>(std::filesystem::file_size(volume.MediaPath("A.mxf")) +
                                            std::filesystem::file_size(volume.MediaPath("C.mxf")));
    EXPECT_EQ(bin->DumpStatus(), "Scene 12.avb - 2 Files " + Worker::MegaString(size));
    EXPECT_EQ(bin->GetSize(), size);

    std::filesystem::remove(volume.MediaPath("C.mxf"));
    EXPECT_EQ(bin->GetCount(), 1);
}

TEST(CopyBinTest, CopiesWhatIsNotThereAndReportsWhatIs) {
    TempFolder temp;
    HookRecorder hooks;
    TestVolume volume = BuildVolume(
        temp.path(), "Media",
        {{"A.mxf", "Spot30"}, {"B.mxf", "Trailer"}, {"C.mxf", "Spot30"}, {"D.mxf", "Spot30"}});
    Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);
    folder.ReadDatabase();
    WriteBin(temp.Path("Scene 12.avb"), volume.mobIds);
    auto bin = BinAt(temp.Path("Scene 12.avb"), RealFileSystem());
    bin->AddMediaFiles(folder.GetFilesForProject(""));
    ASSERT_EQ(bin->MediaFiles.size(), 4u);
    const std::string target = MakeFolder(temp.Path("Target"));
    WriteFileBytes(target + "/B.mxf", "mine");
    WriteFileBytes(target + "/D.mxf", "mine too");
    FakeProgressBar bar;
    bin->progress = &bar;
    SteppingTicks ticks;

    bin->CopyBin(FolderItem::OnItsVolume(target, RealFileSystem()));

    EXPECT_EQ(Checksum(target + "/A.mxf"), Checksum(volume.MediaPath("A.mxf")));
    EXPECT_EQ(Checksum(target + "/C.mxf"), Checksum(volume.MediaPath("C.mxf")));
    EXPECT_EQ(ReadFileBytes(target + "/B.mxf"), "mine");
    EXPECT_EQ(ReadFileBytes(target + "/D.mxf"), "mine too");
    EXPECT_EQ(ListFolder(target), (std::vector<std::string>{"A.mxf", "B.mxf", "C.mxf", "D.mxf"}));
    ASSERT_EQ(bin->loglines.size(), 4u);
    EXPECT_EQ(WithoutStamp(bin->loglines[0]), " Copy Bin Scene 12.avb");
    EXPECT_EQ(bin->loglines[1], "File exists already on destination " + volume.MediaPath("B.mxf"));
    EXPECT_EQ(bin->loglines[2], "File exists already on destination " + volume.MediaPath("D.mxf"));
    EXPECT_EQ(WithoutStamp(bin->loglines[3]), " end ");
    EXPECT_EQ(bin->logstring.substr(bin->logstring.size() - 6), " end \n");
    EXPECT_EQ(hooks.messages, std::vector<std::string>{"There were some errors. See the log tab."});
    EXPECT_EQ(bar.values, (std::vector<int>{25, 50, 75, 100}));
    EXPECT_FALSE(bar.visible);
    EXPECT_FALSE(bin->moved);
}

TEST(CopyBinTest, LongFileYieldsBetweenItsPieces) {
    TempFolder temp;
    HookRecorder hooks;
    TestVolume volume = BuildVolume(temp.path(), "Media",
                                    {{"Short.mxf", "Spot30"}, {"Long.mxf", "Spot30", 5 << 20}});
    Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);
    folder.ReadDatabase();
    WriteBin(temp.Path("b.avb"), volume.mobIds);
    auto bin = BinAt(temp.Path("b.avb"), RealFileSystem());
    bin->AddMediaFiles(folder.MediaFiles);
    ASSERT_EQ(bin->MediaFiles.size(), 2u);
    const std::string target = temp.Path("Target");
    int yieldsDuringTheLongCopy = 0;
    CurrentHooks().yield = [&] {
        if (PathExists(target + "/Short.mxf") && !PathExists(target + "/Long.mxf"))
            ++yieldsDuringTheLongCopy;
    };
    FakeProgressBar bar;
    bin->progress = &bar;
    SteppingTicks ticks;

    bin->CopyBin(FolderItem::OnItsVolume(target, RealFileSystem()));

    EXPECT_GE(yieldsDuringTheLongCopy, 4);
    // The first file, then each of the five pieces of the second (a little over 5 MB).
    EXPECT_EQ(bar.values, (std::vector<int>{50, 59, 69, 79, 89, 99, 100}));
    EXPECT_TRUE(hooks.messages.empty());
}

TEST(CopyBinTest, CopyingAgainChangesNothing) {
    TempFolder temp;
    HookRecorder hooks;
    TestVolume volume = BuildVolume(temp.path(), "Media", {{"A.mxf", "Spot30"}});
    Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);
    folder.ReadDatabase();
    WriteBin(temp.Path("b.avb"), volume.mobIds);
    auto bin = BinAt(temp.Path("b.avb"), RealFileSystem());
    bin->AddMediaFiles(folder.MediaFiles);
    const std::string target = temp.Path("Target");

    bin->CopyBin(FolderItem::OnItsVolume(target, RealFileSystem()));
    EXPECT_TRUE(hooks.messages.empty());
    EXPECT_EQ(bin->loglines.size(), 2u);
    const TreeSnapshot once = SnapshotTree(temp.path());

    bin->CopyBin(FolderItem::OnItsVolume(target, RealFileSystem()));
    EXPECT_EQ(SnapshotTree(temp.path()), once);
    EXPECT_EQ(bin->loglines.size(), 3u);
    EXPECT_EQ(hooks.messages.size(), 1u);
}

}  // namespace
}  // namespace mt
