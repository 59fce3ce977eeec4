// The Volumes list and the volume scan of a Session: rows and their texts, the status and
// progress values the window shows, the project lists, the file rows, folders added by hand,
// and names decoded for display one by one.

#include <filesystem>

#include "fixtures/media_files.h"
#include "fixtures/volume_builder.h"
#include "session/session_harness.h"

namespace mt {
namespace {

using namespace fixtures;
namespace stdfs = std::filesystem;

std::string SizeText(const std::vector<std::string>& paths) {
    double total = 0;
    for (const auto& p : paths) total += static_cast<double>(stdfs::file_size(p));
    return Worker::MegaString(total);
}

class SessionScanTest : public SessionTest {
protected:
    // A volume whose database lists the files; they are named so that the scan of the media
    // folder itself passes them over. The editing system's second index keeps the database
    // judged up to date.
    TestVolume Volume(const std::string& name, const std::vector<MediaSpec>& files) {
        TestVolume volume = BuildVolume(temp.path(), name, files);
        WriteFileBytes(volume.MediaPath("msmMMOB.mdb"), "index");
        volumes.push_back(volume.top);
        return volume;
    }
};

TEST_F(SessionScanTest, FirstScanShowsRowsStatusAndProgress) {
    TestVolume one = Volume("One", {{"A.mxf", "Alpha"}});
    TestVolume two = Volume("Two", {{"B.mxf", "Beta"}});
    TestVolume three = Volume("Three", {{"C.mxf", "Gamma"}});
    volumes.push_back(MakeVolume(temp.path(), "Four"));  // no media folder
    Open();

    EXPECT_EQ(session->BuildVolumeList(), Outcome::Done);
    EXPECT_EQ(session->FirstScan(), Outcome::Done);

    EXPECT_EQ(label.texts, (std::vector<std::string>{"Detecting Volumes", "Ready",
                                                     "Scanning Volumes", "Ready"}));
    // Four rows: 0, then i x 50 / 4 after each; three names: 50 + k x 50 / 2.
    EXPECT_EQ(bar.values, (std::vector<int>{0, 0, 12, 25, 37, 50, 75, 100}));
    EXPECT_FALSE(bar.visible);
    const auto& rows = session->volumeRows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].text, "One - 1 Files " + SizeText({one.MediaPath("A.mxf")}));
    EXPECT_EQ(rows[3].text, "Four - 0 Files - - no OMFI MediaFolder");
    for (const auto& row : rows) EXPECT_TRUE(row.selected);
    EXPECT_EQ(
        Texts(session->projectRows()),
        (std::vector<std::string>{"Alpha - 1 Files " + SizeText({one.MediaPath("A.mxf")}),
                                  "Beta - 1 Files " + SizeText({two.MediaPath("B.mxf")}),
                                  "Gamma - 1 Files " + SizeText({three.MediaPath("C.mxf")})}));
    EXPECT_TRUE(session->siftedProjectRows().empty());
    EXPECT_EQ(session->fileRows().size(), 3u);
    EXPECT_TRUE(hooks.messages.empty());

    Buttons expected;
    expected.ScanButton = expected.AddFolderButton = expected.SiftButton = true;
    expected.AddBinButton = expected.TabPanel1 = true;
    EXPECT_EQ(session->buttons(), expected);
}

TEST_F(SessionScanTest, NotificationsComeInTheOrderOfTheScan) {
    Volume("One", {{"A.mxf", "Alpha"}, {"B.mxf", "Beta_sifted"}});
    Volume("Two", {{"C.mxf", "Alpha"}});
    Open();

    session->BuildVolumeList();
    EXPECT_EQ(observer.events,
              (std::vector<std::string>{"cleared Volumes", "added Volumes 0", "added Volumes 1"}));
    observer.events.clear();
    session->FirstScan();

    EXPECT_EQ(observer.events,
              (std::vector<std::string>{"text Volumes 0", "text Volumes 1", "cleared Projects",
                                        "cleared SiftedProjects", "added Projects 0",
                                        "added SiftedProjects 0", "buttons", "files cleared",
                                        "files changed", "buttons"}));
}

TEST_F(SessionScanTest, OneProjectNameGivesFifty) {
    Volume("One", {{"A.mxf", "Alpha"}});
    OpenAndScan();

    session->ScanVolumes(true);

    EXPECT_EQ(bar.values, (std::vector<int>{0, 0, 50}));
}

TEST_F(SessionScanTest, AProjectOnTwoVolumesIsOneRowFirstVolumeFirst) {
    Volume("One", {{"A.mxf", "Spot30"}});
    Volume("Two", {{"B.mxf", "spot30"}, {"C.mxf", "Spot30"}});
    OpenAndScan();

    ASSERT_EQ(session->projectRows().size(), 1u);
    const ProjectPtr& project = session->projectRows()[0].project;
    ASSERT_EQ(project->MediaFiles.size(), 3u);
    EXPECT_EQ(project->MediaFiles[0], session->volumeRows()[0].folder->MediaFiles[0]);
    EXPECT_EQ(project->MediaFiles[1], session->volumeRows()[1].folder->MediaFiles[0]);
    EXPECT_FALSE(session->projectRows()[0].selected);
}

TEST_F(SessionScanTest, ASiftedFolderGoesToTheSiftedList) {
    TestVolume volume = Volume("One", {{"A.mxf", "Alpha"}});
    MakeFolder(volume.MediaPath("Trailer_sifted"));
    WriteMediaFile(volume.MediaPath("Trailer_sifted/T.omf"), "Trailer", 100);
    OpenAndScan();

    EXPECT_EQ(Names(session->projectRows()), std::vector<Bytes>{"Alpha"});
    EXPECT_EQ(Names(session->siftedProjectRows()), std::vector<Bytes>{"Trailer[Trailer_sifted]"});
}

TEST_F(SessionScanTest, FileRowsListEveryFileFolderAfterFolder) {
    TestVolume one = Volume("One", {{"A.mxf", "Alpha"}, {"Gone.mxf", "Alpha"}});
    TestVolume two = Volume("Two", {{"B.mxf", "Beta"}});
    stdfs::remove(one.MediaPath("Gone.mxf"));
    OpenAndScan();

    const auto& rows = session->fileRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].cells,
              (std::array<std::string, 7>{"One", "Alpha", "A.mxf", rows[0].cells[FileRow::kDate],
                                          SizeText({one.MediaPath("A.mxf")}), "D", "X"}));
    EXPECT_FALSE(rows[0].cells[FileRow::kDate].empty());
    EXPECT_FALSE(rows[0].italic);
    // A listed file that is gone: no date, "-" twice, every cell in italics.
    EXPECT_EQ(rows[1].cells[FileRow::kName], "Gone.mxf");
    EXPECT_EQ(rows[1].cells[FileRow::kDate], "");
    EXPECT_FALSE(rows[1].date.has_value());
    EXPECT_EQ(rows[1].cells[FileRow::kSize], "-");
    EXPECT_EQ(rows[1].cells[FileRow::kOn], "-");
    EXPECT_TRUE(rows[1].italic);
    EXPECT_EQ(rows[2].cells[FileRow::kVolume], "Two");
}

TEST_F(SessionScanTest, NoVolumeAtAllIsSaidAndTheScanStillFinishes) {
    OpenAndScan();

    session->ScanVolumes(true);

    EXPECT_EQ(hooks.messages, std::vector<std::string>{"No Volume selected"});
    EXPECT_TRUE(session->buttons().SiftButton);
    EXPECT_EQ(label.text, "Ready");
    EXPECT_TRUE(session->projectRows().empty());
    EXPECT_TRUE(session->fileRows().empty());
}

TEST_F(SessionScanTest, OnlyAForcedScanReadsADatabaseFolderAgain) {
    TestVolume volume = Volume("One", {{"A.mxf", "Alpha"}});
    OpenAndScan();
    MakeFolder(volume.MediaPath("Late_sifted"));
    WriteMediaFile(volume.MediaPath("Late_sifted/L.omf"), "Late", 100);

    session->ScanVolumes(false);
    EXPECT_TRUE(session->siftedProjectRows().empty());

    session->ScanVolumes(true);
    EXPECT_EQ(Names(session->siftedProjectRows()), std::vector<Bytes>{"Late[Late_sifted]"});
}

TEST_F(SessionScanTest, TheSameFolderIsNeverListedTwice) {
    TestVolume volume = Volume("One", {{"A.mxf", "Alpha"}});
    stdfs::create_symlink(volume.top, temp.Path("Link to One"));
    volumes.push_back(temp.Path("Link to One"));
    volumes.push_back(volume.top + "/.");
    OpenAndScan();
    ASSERT_EQ(session->volumeRows().size(), 1u);

    // Neither by hand: the folder itself, its media folder, a link to that.
    stdfs::create_symlink(volume.media, temp.Path("Link to media"));
    FakeChooser chooser;
    for (const std::string& path : {volume.media, temp.Path("Link to media")}) {
        chooser.answer = path;
        EXPECT_EQ(session->AddFolder(chooser()), Outcome::Done);
    }
    EXPECT_EQ(session->AddFolders({volume.media, volume.media + "/"}), Outcome::Done);

    EXPECT_EQ(session->volumeRows().size(), 1u);
    EXPECT_EQ(session->fileRows().size(), 1u);
    EXPECT_EQ(session->projectRows()[0].project->MediaFiles.size(), 1u);
}

TEST_F(SessionScanTest, AddFolderAsksAddsASelectedRowAndScans) {
    Volume("One", {{"A.mxf", "Alpha"}});
    OpenAndScan();
    session->SetSelection(ListId::Volumes, {});
    const std::string cuts = MakeFolder(temp.Path("Cuts"));
    WriteMediaFile(cuts + "/x.omf", "Promo", 100);
    FakeChooser chooser;
    chooser.answer = cuts;

    EXPECT_EQ(session->AddFolder(chooser()), Outcome::Done);

    EXPECT_EQ(chooser.prompts, std::vector<std::string>{"Select Folder with media files"});
    const auto& rows = session->volumeRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_FALSE(rows[0].selected);
    EXPECT_TRUE(rows[1].selected);
    const std::string real = stdfs::canonical(cuts).string();
    EXPECT_EQ(rows[1].text,
              real + " - 0 Files " + SizeText({cuts + "/x.omf"}) + " - no Media Database");
    EXPECT_EQ(Names(session->projectRows()), (std::vector<Bytes>{"Alpha", "Promo[Cuts]"}));
    EXPECT_EQ(label.texts, (std::vector<std::string>{"Scanning Volumes", "Ready"}));
}

TEST_F(SessionScanTest, AFolderThatIsALinkTheUserChoseIsFollowed) {
    OpenAndScan();
    const std::string elsewhere = MakeFolder(temp.Path("Elsewhere/Cuts"));
    WriteMediaFile(elsewhere + "/x.omf", "Promo", 100);
    stdfs::create_symlink(elsewhere, temp.Path("Cuts link"));
    FakeChooser chooser;
    chooser.answer = temp.Path("Cuts link");

    session->AddFolder(chooser());

    ASSERT_EQ(session->volumeRows().size(), 1u);
    EXPECT_EQ(session->volumeRows()[0].folder->mediafolder->ShellPath(),
              stdfs::canonical(elsewhere).string());
    EXPECT_EQ(Names(session->projectRows()), std::vector<Bytes>{"Promo[Cuts]"});
}

TEST_F(SessionScanTest, CancellingAddFolderDoesNothing) {
    Volume("One", {{"A.mxf", "Alpha"}});
    OpenAndScan();
    FakeChooser chooser;

    EXPECT_EQ(session->AddFolder(chooser()), Outcome::Cancelled);

    EXPECT_EQ(session->volumeRows().size(), 1u);
    EXPECT_TRUE(observer.events.empty());
    EXPECT_TRUE(label.texts.empty());
}

TEST_F(SessionScanTest, TheLastSortHoldsAcrossRefills) {
    TestVolume volume =
        Volume("One", {{"Small.mxf", "P", 10}, {"Large.mxf", "P", 5000}, {"Mid.mxf", "P", 900}});
    OpenAndScan();
    auto names = [this] {
        std::vector<std::string> out;
        for (const auto& row : session->fileRows()) out.push_back(row.cells[FileRow::kName]);
        return out;
    };
    ASSERT_EQ(names(), (std::vector<std::string>{"Small.mxf", "Large.mxf", "Mid.mxf"}));

    EXPECT_EQ(session->SortFileRows(FileRow::kSize, false), Outcome::Done);
    EXPECT_EQ(names(), (std::vector<std::string>{"Large.mxf", "Mid.mxf", "Small.mxf"}));
    EXPECT_EQ(observer.events.back(), "files changed");

    session->ScanVolumes(true);
    EXPECT_EQ(names(), (std::vector<std::string>{"Large.mxf", "Mid.mxf", "Small.mxf"}));
}

TEST_F(SessionScanTest, NamesAreDecodedOneByOneAndPathsStayBytes) {
    // The volume's name and the project are Mac Roman, the file's name is UTF-8: decoding a
    // whole line at once would spoil one or the other.
    const Bytes macRomanProject = "\x83tude";                              // "Étude"
    const Bytes utf8Name = "Caf\xc3\xa9.mxf";                              // "Café.mxf"
    TestVolume volume = Volume("Caf\x8e", {{utf8Name, macRomanProject}});  // "Café"

    OpenAndScan();

    EXPECT_EQ(session->volumeRows()[0].text.rfind("Caf\xc3\xa9 - 1 Files", 0), 0u);
    EXPECT_EQ(session->projectRows()[0].text.rfind("\xc3\x89tude - 1 Files", 0), 0u);
    const FileRow& row = session->fileRows().at(0);
    EXPECT_EQ(row.cells[FileRow::kVolume], "Caf\xc3\xa9");
    EXPECT_EQ(row.cells[FileRow::kProject], "\xc3\x89tude");
    EXPECT_EQ(row.cells[FileRow::kName], "Caf\xc3\xa9.mxf");

    // The project is sifted into a folder of its name as bytes, and the status line and the
    // log show the name decoded.
    session->SetSelection(ListId::Projects, {0});
    session->SiftProject();
    EXPECT_TRUE(PathExists(volume.MediaPath(macRomanProject + "_sifted/" + utf8Name)));
    EXPECT_NE(std::find(label.texts.begin(), label.texts.end(), "Moving \xc3\x89tude"),
              label.texts.end());
    EXPECT_NE(std::find(label.texts.begin(), label.texts.end(), "Sift Caf\xc3\xa9.mxf"),
              label.texts.end());
    ASSERT_EQ(observer.logged.size(), 1u);
    EXPECT_NE(observer.logged[0].find(" Sift Project \xc3\x89tude\n"), std::string::npos);
}

}  // namespace
}  // namespace mt
