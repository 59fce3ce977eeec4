// The scan cache: during a scan each fact about a file is asked of the disk once; between
// scans, and after any change made through it, the disk is asked again.

#include "session/scan_cache.h"

#include <filesystem>

#include "fixtures/media_files.h"
#include "fixtures/scripted_file_system.h"
#include "fixtures/volume_builder.h"
#include "session/session_harness.h"

namespace mt {
namespace {

using namespace fixtures;

TEST(ScanCacheTest, RemembersOnlyWhileAScanRuns) {
    TempFolder temp;
    const std::string file = temp.Path("a");
    WriteFileBytes(file, "12345");
    ScriptedFileSystem disk(RealFileSystem());
    ScanCache cache(disk);

    cache.Stat(file);
    cache.Stat(file);
    EXPECT_EQ(disk.CountCalls("Stat", file), 2);

    cache.Begin();
    EXPECT_EQ(cache.Stat(file).size, 5u);
    WriteFileBytes(file, "1234567");
    EXPECT_EQ(cache.Stat(file).size, 5u);
    cache.GetAttribute(file, "user.x");
    cache.GetAttribute(file, "user.x");
    EXPECT_EQ(disk.CountCalls("Stat", file), 3);
    EXPECT_EQ(disk.CountCalls("GetAttribute", file), 1);
    // A change made through it forgets what it knew.
    cache.CreateFolder(temp.Path("b"));
    EXPECT_EQ(cache.Stat(file).size, 7u);
    cache.End();

    WriteFileBytes(file, "1");
    EXPECT_EQ(cache.Stat(file).size, 1u);
}

class SessionScanCostTest : public SessionTest {};

TEST_F(SessionScanCostTest, AScanAsksAboutEachFileOnce) {
    TestVolume volume = BuildVolume(temp.path(), "One", {{"A.mxf", "Alpha"}, {"B.mxf", "Beta"}});
    volumes.push_back(volume.top);
    ScriptedFileSystem disk(RealFileSystem());
    Open(disk);
    session->BuildVolumeList();
    disk.SetScript({});

    session->FirstScan();

    // The database read, the volume's status line, the project rows and the file rows all
    // want A.mxf's existence, size and date.
    EXPECT_EQ(disk.CountCalls("Stat", volume.MediaPath("A.mxf")), 1);
    EXPECT_EQ(session->fileRows().size(), 2u);

    // The next scan sees what changed since.
    std::filesystem::remove(volume.MediaPath("A.mxf"));
    session->ScanVolumes(true);
    EXPECT_EQ(disk.CountCalls("Stat", volume.MediaPath("A.mxf")), 2);
    EXPECT_TRUE(session->fileRows()[0].italic);
}

}  // namespace
}  // namespace mt
