// The commands of a Session on the selected rows: Sift Volumes, Sift, Copy and Unsift
// Project, Add Bin and Copy Bin; what each shows, what it leaves in the log, what it does on
// disk, and what a cancelled dialog or an empty selection does.

#include <algorithm>
#include <filesystem>

#include "fixtures/database_builders.h"
#include "fixtures/mac_metadata_builders.h"
#include "fixtures/media_files.h"
#include "fixtures/volume_builder.h"
#include "session/session_harness.h"

namespace mt {
namespace {

using namespace fixtures;
namespace stdfs = std::filesystem;

// The first line of each block the observer heard, without its date stamp.
std::vector<std::string> Headers(const std::vector<std::string>& blocks) {
    std::vector<std::string> out;
    for (const auto& block : blocks) out.push_back(WithoutStamp(block.substr(0, block.find('\n'))));
    return out;
}

bool Shown(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class SessionCommandTest : public SessionTest {
protected:
    TestVolume Volume(const std::string& name, const std::vector<MediaSpec>& files,
                      uint32_t firstMobId = 1) {
        TestVolume volume = BuildVolume(temp.path(), name, files, true, firstMobId);
        WriteFileBytes(volume.MediaPath("msmMMOB.mdb"), "index");
        volumes.push_back(volume.top);
        return volume;
    }
    size_t Row(ListId list, const Bytes& name) {
        auto row = session->FindProjectRow(list, name);
        EXPECT_TRUE(row.has_value()) << name;
        return row.value_or(0);
    }
};

TEST_F(SessionCommandTest, SiftVolumesSiftsTheSelectedRowsInOrderThenRescans) {
    TestVolume one = Volume("One", {{"A.mxf", "Alpha"}});
    TestVolume two = Volume("Two", {{"B.mxf", "Beta"}});
    TestVolume three = Volume("Three", {{"C.mxf", "Gamma"}});
    OpenAndScan();
    session->SetSelection(ListId::Volumes, {0, 2});
    session->SetSelection(ListId::Projects, {0});

    EXPECT_EQ(session->SiftVolumes(), Outcome::Done);

    EXPECT_EQ(Headers(observer.logged),
              (std::vector<std::string>{" Sift Volume One", " Sift Volume Three"}));
    EXPECT_EQ(session->log().Text(), observer.logged[0] + observer.logged[1]);
    EXPECT_TRUE(PathExists(one.MediaPath("Alpha_sifted/A.mxf")));
    EXPECT_TRUE(PathExists(two.MediaPath("B.mxf")));
    EXPECT_TRUE(PathExists(three.MediaPath("Gamma_sifted/C.mxf")));
    const auto sifting = std::find(label.texts.begin(), label.texts.end(), "Sifting One");
    ASSERT_NE(sifting, label.texts.end());
    EXPECT_TRUE(std::find(sifting, label.texts.end(), "Sifting Three") != label.texts.end());
    // "Ready", then the forced scan.
    EXPECT_EQ(std::vector<std::string>(label.texts.end() - 3, label.texts.end()),
              (std::vector<std::string>{"Ready", "Scanning Volumes", "Ready"}));
    const Buttons& buttons = session->buttons();
    EXPECT_TRUE(buttons.SiftButton);
    EXPECT_FALSE(buttons.CopyButton || buttons.MoveButton || buttons.UnsiftButton);
}

TEST_F(SessionCommandTest, SiftingAnAddedFolderShowsNoName) {
    OpenAndScan();
    const std::string cuts = MakeFolder(temp.Path("Cuts"));
    WriteMediaFile(cuts + "/x.omf", "Promo", 100);
    session->AddFolders({cuts});
    Forget();

    session->SiftVolumes();

    EXPECT_TRUE(Shown(label.texts, "Sifting "));
    EXPECT_EQ(Headers(observer.logged),
              std::vector<std::string>{" Sift Folder " + stdfs::canonical(cuts).string()});
}

TEST_F(SessionCommandTest, NothingSelectedIsSaidAndEveryCommandStillEndsAsUsual) {
    Volume("One", {{"A.mxf", "Alpha"}});
    OpenAndScan();
    session->SetSelection(ListId::Volumes, {});

    struct Case {
        const char* name;
        std::function<Outcome()> run;
        const char* message;
        bool rescans;
    };
    FakeChooser chooser;
    chooser.answer = temp.Path("Target");
    const std::vector<Case> cases = {
        {"SiftVolumes", [&] { return session->SiftVolumes(); }, "No Volume selected", true},
        {"SiftProject", [&] { return session->SiftProject(); }, "No Project selected", true},
        {"CopyProject", [&] { return session->CopyProject(chooser()); }, "No Project selected",
         false},
        {"UnsiftProject", [&] { return session->UnsiftProject(); }, "No Project selected", true},
        {"CopyBin", [&] { return session->CopyBin(chooser()); }, "No Bin selected", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Forget();
        EXPECT_EQ(c.run(), Outcome::Done);
        EXPECT_EQ(hooks.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(label.text, "Ready");
        EXPECT_EQ(Shown(label.texts, "Scanning Volumes"), c.rescans);
        EXPECT_TRUE(observer.logged.empty());
    }
    EXPECT_FALSE(PathExists(temp.Path("Target")));
}

TEST_F(SessionCommandTest, SiftProjectSiftsTheSelectedProjectsTopToBottomThenRescans) {
    TestVolume volume = Volume(
        "One", {{"A.mxf", "Alpha"}, {"B.mxf", "Beta"}, {"C.mxf", "Gamma"}, {"D.mxf", "Delta"}});
    OpenAndScan();
    session->SetSelection(ListId::Projects,
                          {Row(ListId::Projects, "Gamma"), Row(ListId::Projects, "Alpha"),
                           Row(ListId::Projects, "Beta")});
    const ProjectPtr before = session->projectRows()[0].project;

    EXPECT_EQ(session->SiftProject(), Outcome::Done);

    EXPECT_EQ(Headers(observer.logged),
              (std::vector<std::string>{" Sift Project Alpha", " Sift Project Beta",
                                        " Sift Project Gamma"}));
    EXPECT_TRUE(Shown(label.texts, "Moving Alpha"));
    EXPECT_TRUE(Shown(label.texts, "Sift A.mxf"));
    EXPECT_TRUE(PathExists(volume.MediaPath("Gamma_sifted/C.mxf")));
    EXPECT_TRUE(PathExists(volume.MediaPath("D.mxf")));
    // The rescan made new projects; nothing is selected, so the buttons are off.
    EXPECT_NE(session->projectRows()[0].project, before);
    const Buttons& buttons = session->buttons();
    EXPECT_TRUE(buttons.SiftButton);
    EXPECT_FALSE(buttons.CopyButton || buttons.MoveButton || buttons.UnsiftButton);
    EXPECT_FALSE(bar.visible);
}

TEST_F(SessionCommandTest, UnsiftProjectMovesTheFilesBack) {
    TestVolume volume = Volume("One", {{"B.mxf", "Beta"}});
    MakeFolder(volume.MediaPath("Alpha_sifted"));
    WriteMediaFile(volume.MediaPath("Alpha_sifted/A.omf"), "Alpha", 100);
    OpenAndScan();
    session->SetSelection(ListId::SiftedProjects,
                          {Row(ListId::SiftedProjects, "alpha[alpha_sifted]")});
    EXPECT_TRUE(session->buttons().UnsiftButton);

    EXPECT_EQ(session->UnsiftProject(), Outcome::Done);

    EXPECT_EQ(Headers(observer.logged),
              std::vector<std::string>{" Unsift Project Alpha[Alpha_sifted]"});
    EXPECT_TRUE(Shown(label.texts, "Unsifting Alpha[Alpha_sifted]"));
    EXPECT_TRUE(PathExists(volume.MediaPath("A.omf")));
    EXPECT_FALSE(PathExists(volume.MediaPath("Alpha_sifted/A.omf")));
    EXPECT_TRUE(session->siftedProjectRows().empty());
}

TEST_F(SessionCommandTest, CopyProjectCopiesWithoutARescanAndKeepsTheSelection) {
    TestVolume volume = Volume("One", {{"A.mxf", "Alpha"}, {"B.mxf", "Beta"}});
    OpenAndScan();
    session->SetSelection(ListId::Projects, {Row(ListId::Projects, "Beta")});
    const ProjectPtr beta = session->projectRows()[1].project;
    FakeChooser chooser;
    chooser.answer = temp.Path("Delivery");

    EXPECT_EQ(session->CopyProject(chooser()), Outcome::Done);

    EXPECT_EQ(chooser.prompts,
              std::vector<std::string>{"Select Target Folder to copy project files to"});
    const std::string target = stdfs::absolute(temp.Path("Delivery")).string();
    EXPECT_EQ(Headers(observer.logged),
              std::vector<std::string>{" Copy Project Beta to " + target});
    EXPECT_EQ(ListFolder(target), std::vector<std::string>{"B.mxf"});
    EXPECT_EQ(Checksum(target + "/B.mxf"), Checksum(volume.MediaPath("B.mxf")));
    EXPECT_TRUE(Shown(label.texts, "Copying Beta"));
    EXPECT_FALSE(Shown(label.texts, "Scanning Volumes"));
    EXPECT_EQ(session->projectRows()[1].project, beta);
    EXPECT_TRUE(session->projectRows()[1].selected);
    // Off until a selection changes; Sift Volumes until the next scan.
    EXPECT_FALSE(session->buttons().CopyButton || session->buttons().MoveButton ||
                 session->buttons().SiftButton);
    session->SetSelection(ListId::Projects, {1});
    EXPECT_TRUE(session->buttons().CopyButton && session->buttons().MoveButton);
    EXPECT_FALSE(session->buttons().SiftButton);
    session->ScanVolumes(true);
    EXPECT_TRUE(session->buttons().SiftButton);
}

TEST_F(SessionCommandTest, ACopyTargetThatIsALinkTheUserChoseIsFollowed) {
    Volume("One", {{"A.mxf", "Alpha"}});
    OpenAndScan();
    const std::string real = MakeFolder(temp.Path("Real target"));
    stdfs::create_symlink(real, temp.Path("Target link"));
    session->SetSelection(ListId::Projects, {0});
    FakeChooser chooser;
    chooser.answer = temp.Path("Target link");

    session->CopyProject(chooser());

    EXPECT_EQ(ListFolder(real), std::vector<std::string>{"A.mxf"});
    EXPECT_EQ(Headers(observer.logged), std::vector<std::string>{" Copy Project Alpha to " +
                                                                 stdfs::canonical(real).string()});
    EXPECT_TRUE(hooks.messages.empty());
}

TEST_F(SessionCommandTest, CancellingACopyDialogHasNoEffectAtAll) {
    Volume("One", {{"A.mxf", "Alpha"}});
    OpenAndScan();
    session->SetSelection(ListId::Projects, {0});
    const std::string bin = temp.Path("Edit.avb");
    WriteBin(bin, {MobId(1)});
    session->AddBinFile(bin);
    Forget();
    const Buttons buttons = session->buttons();
    const auto tree = SnapshotTree(temp.path());
    FakeChooser cancel;

    EXPECT_EQ(session->CopyProject(cancel()), Outcome::Cancelled);
    EXPECT_EQ(session->CopyBin(cancel()), Outcome::Cancelled);
    EXPECT_EQ(session->AddBin(cancel()), Outcome::Cancelled);

    EXPECT_EQ(cancel.prompts,
              (std::vector<std::string>{"Select Target Folder to copy project files to",
                                        "Select Target Folder to copy bin files to",
                                        "Select Bin to add to list"}));
    EXPECT_TRUE(observer.events.empty());
    EXPECT_TRUE(label.texts.empty());
    EXPECT_TRUE(hooks.messages.empty());
    EXPECT_EQ(session->buttons(), buttons);
    EXPECT_EQ(session->binRows().size(), 1u);
    EXPECT_EQ(SnapshotTree(temp.path()), tree);
}

TEST_F(SessionCommandTest, AddBinMatchesTheBinAgainstTheSelectedVolumes) {
    TestVolume one = Volume("One", {{"A.mxf", "Alpha"}, {"B.mxf", "Alpha"}});
    TestVolume two = Volume("Two", {{"C.mxf", "Beta"}}, 10);
    OpenAndScan();
    session->SetSelection(ListId::Volumes, {0});
    const std::string bin = temp.Path("Scene 12.avb");
    WriteBin(bin, {one.mobIds[1], two.mobIds[0]});
    FakeChooser chooser;
    chooser.answer = bin;

    EXPECT_EQ(session->AddBin(chooser()), Outcome::Done);

    EXPECT_EQ(chooser.prompts, std::vector<std::string>{"Select Bin to add to list"});
    ASSERT_EQ(session->binRows().size(), 1u);
    const BinRow& row = session->binRows()[0];
    EXPECT_TRUE(row.selected);
    // Only the selected volume counts: one file of the two the bin uses.
    EXPECT_EQ(row.text, "Scene 12.avb - 1 Files " +
                            Worker::MegaString(stdfs::file_size(one.MediaPath("B.mxf"))));
    EXPECT_EQ(observer.events,
              (std::vector<std::string>{"added Bins 0", "text Bins 0", "buttons"}));
    EXPECT_TRUE(session->buttons().CopyBinBtn);
    EXPECT_EQ(label.texts, std::vector<std::string>{"Ready"});
    EXPECT_EQ(bar.visibility, std::vector<bool>{false});
}

TEST_F(SessionCommandTest, AddingABinRescansTheOtherSelectedBinsOnly) {
    TestVolume one = Volume("One", {{"A.mxf", "Alpha"}, {"B.mxf", "Alpha"}});
    session = nullptr;
    Open();
    session->BuildVolumeList();
    // Bins added before the first scan find nothing, and keep that after the scan.
    const std::string first = temp.Path("First.avb"), second = temp.Path("Second.avb");
    WriteBin(first, {one.mobIds[0]});
    WriteBin(second, {one.mobIds[1]});
    session->AddBinFile(first);
    session->AddBinFile(second);
    session->FirstScan();
    EXPECT_EQ(session->binRows()[0].text, "First.avb - 0 Files -");
    EXPECT_EQ(session->binRows()[1].text, "Second.avb - 0 Files -");
    session->SetSelection(ListId::Bins, {1});

    // The same file again is a row of its own.
    session->AddBinFile(first);

    const auto& rows = session->binRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].text, "First.avb - 0 Files -");
    EXPECT_EQ(rows[1].text.rfind("Second.avb - 1 Files", 0), 0u);
    EXPECT_EQ(rows[2].text.rfind("First.avb - 1 Files", 0), 0u);
    EXPECT_NE(rows[0].bin, rows[2].bin);
}

TEST_F(SessionCommandTest, CopyBinCopiesWhatTheSelectedBinsUse) {
    TestVolume one = Volume("One", {{"A.mxf", "Alpha"}, {"B.mxf", "Beta"}, {"C.mxf", "Gamma"}});
    OpenAndScan();
    const std::string bin = temp.Path("Cut.avb");
    WriteBin(bin, {one.mobIds[0], one.mobIds[2]});
    session->AddBinFile(bin);
    Forget();
    FakeChooser chooser;
    chooser.answer = temp.Path("Bin copy");

    EXPECT_EQ(session->CopyBin(chooser()), Outcome::Done);

    EXPECT_EQ(ListFolder(temp.Path("Bin copy")), (std::vector<std::string>{"A.mxf", "C.mxf"}));
    EXPECT_EQ(Headers(observer.logged), std::vector<std::string>{" Copy Bin Cut.avb"});
    EXPECT_TRUE(Shown(label.texts, "Copying Cut.avb"));
    EXPECT_EQ(label.text, "Ready");
    EXPECT_TRUE(hooks.messages.empty());
    EXPECT_EQ(session->binRows()[0].text.rfind("Cut.avb - 2 Files", 0), 0u);
}

TEST_F(SessionCommandTest, ABinDocumentIsAnAvbFileOrOfTypeATob) {
    Open();
    const std::string plain = temp.Path("notes.txt");
    WriteFileBytes(plain, "text");
    const std::string avb = temp.Path("Scene.AVB");
    WriteFileBytes(avb, "bin");
    const std::string typed = temp.Path("Scene without ending");
    WriteFileBytes(typed, "bin");
    WriteSidecar(typed, "ATob", "????");
    const std::string otherType = temp.Path("Picture");
    WriteFileBytes(otherType, "pict");
    WriteSidecar(otherType, "PICT", "ttxt");
    stdfs::create_symlink(avb, temp.Path("link"));

    EXPECT_FALSE(session->IsBinDocument(plain));
    EXPECT_TRUE(session->IsBinDocument(avb));
    EXPECT_TRUE(session->IsBinDocument(typed));
    EXPECT_FALSE(session->IsBinDocument(otherType));
    EXPECT_TRUE(session->IsBinDocument(temp.Path("link")));
    EXPECT_FALSE(session->IsBinDocument(temp.Path("missing")));
}

}  // namespace
}  // namespace mt
