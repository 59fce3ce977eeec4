// The button rule and every other place that sets the command buttons: the start-up state,
// the end of a scan, the end of the first scan, the end of the commands, the bins.

#include "session/button_rule.h"

#include "fixtures/database_builders.h"
#include "fixtures/media_files.h"
#include "fixtures/volume_builder.h"
#include "session/session_harness.h"

namespace mt {
namespace {

using namespace fixtures;

struct RuleCase {
    const char* name;
    Selections selections;
    bool copyAndMove, unsift, scan, copyBin;
};

class ButtonRuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(ButtonRuleTest, EachButtonFollowsItsList) {
    const RuleCase& c = GetParam();
    for (bool others : {false, true}) {
        Buttons before;
        before.SiftButton = others;
        before.AddFolderButton = others;
        before.TabPanel1 = others;
        before.AddBinButton = false;

        Buttons after = EnableButtons(before, c.selections);

        EXPECT_EQ(after.CopyButton, c.copyAndMove);
        EXPECT_EQ(after.MoveButton, c.copyAndMove);
        EXPECT_EQ(after.UnsiftButton, c.unsift);
        EXPECT_EQ(after.ScanButton, c.scan);
        EXPECT_EQ(after.CopyBinBtn, c.copyBin);
        EXPECT_TRUE(after.AddBinButton);
        // Never touched by the rule.
        EXPECT_EQ(after.SiftButton, others);
        EXPECT_EQ(after.AddFolderButton, others);
        EXPECT_EQ(after.TabPanel1, others);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Selections, ButtonRuleTest,
    ::testing::Values(RuleCase{"Nothing", {}, false, false, false, false},
                      RuleCase{"Projects", {true, false, false, false}, true, false, false, false},
                      RuleCase{"Sifted", {false, true, false, false}, false, true, false, false},
                      RuleCase{"Volumes", {false, false, true, false}, false, false, true, false},
                      RuleCase{"Bins", {false, false, false, true}, false, false, false, true},
                      RuleCase{"All", {true, true, true, true}, true, true, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

class SessionButtonsTest : public SessionTest {
protected:
    void SetUp() override {
        volume = BuildVolume(temp.path(), "One", {{"A.mxf", "Alpha"}, {"B.mxf", "Beta"}});
        MakeFolder(volume.MediaPath("Gamma_sifted"));
        WriteMediaFile(volume.MediaPath("Gamma_sifted/G.omf"), "Gamma", 100);
        volumes.push_back(volume.top);
    }
    TestVolume volume;
};

TEST_F(SessionButtonsTest, AtStartOnlyScanAndAddFolderAreEnabled) {
    Open();
    Buttons expected;
    expected.ScanButton = expected.AddFolderButton = true;
    expected.SiftButton = expected.CopyButton = expected.MoveButton = expected.UnsiftButton = false;
    expected.AddBinButton = expected.CopyBinBtn = expected.TabPanel1 = false;
    EXPECT_EQ(session->buttons(), expected);
    session->BuildVolumeList();
    EXPECT_EQ(session->buttons(), expected);
}

TEST_F(SessionButtonsTest, TheFirstScanEnablesScanAndTheTabsWhateverTheRuleGave) {
    Open();
    session->BuildVolumeList();
    session->SetSelection(ListId::Volumes, {});

    session->FirstScan();

    EXPECT_TRUE(session->buttons().ScanButton);
    EXPECT_TRUE(session->buttons().TabPanel1);
    EXPECT_TRUE(session->buttons().SiftButton);
    // The next evaluation takes ScanButton back, as no volume is selected.
    session->SetSelection(ListId::Projects, {});
    EXPECT_FALSE(session->buttons().ScanButton);
    // Selecting a volume is no evaluation of its own.
    session->SetSelection(ListId::Volumes, {0});
    EXPECT_FALSE(session->buttons().ScanButton);
    session->SetSelection(ListId::Bins, {});
    EXPECT_TRUE(session->buttons().ScanButton);
}

TEST_F(SessionButtonsTest, SelectionsOfTheListsDriveTheirButtons) {
    OpenAndScan();
    const size_t last = session->projectRows().size() - 1;

    session->SetSelection(ListId::Projects, {last});
    EXPECT_TRUE(session->buttons().CopyButton && session->buttons().MoveButton);
    EXPECT_FALSE(session->buttons().UnsiftButton);
    EXPECT_EQ(observer.events, std::vector<std::string>{"buttons"});

    session->SetSelection(ListId::SiftedProjects, {0});
    EXPECT_TRUE(session->buttons().UnsiftButton);

    session->SetSelection(ListId::Projects, {});
    session->SetSelection(ListId::SiftedProjects, {});
    EXPECT_FALSE(session->buttons().CopyButton || session->buttons().MoveButton ||
                 session->buttons().UnsiftButton);
    EXPECT_TRUE(session->buttons().AddBinButton);
    EXPECT_FALSE(session->buttons().CopyBinBtn);
    EXPECT_TRUE(session->buttons().SiftButton);
}

TEST_F(SessionButtonsTest, TheCommandsTurnTheFourButtonsOffAndOnlyAScanBringsSiftBack) {
    OpenAndScan();
    session->SetSelection(ListId::Projects, {0});
    FakeChooser chooser;
    chooser.answer = temp.Path("Copies");

    session->CopyProject(chooser());
    EXPECT_FALSE(session->buttons().SiftButton || session->buttons().CopyButton ||
                 session->buttons().MoveButton || session->buttons().UnsiftButton);

    // Bins enable Copy Bin and leave the rest.
    const std::string bin = temp.Path("Edit.avb");
    WriteBin(bin, {volume.mobIds[0]});
    session->AddBinFile(bin);
    EXPECT_TRUE(session->buttons().CopyBinBtn);
    EXPECT_FALSE(session->buttons().SiftButton);
    session->SetSelection(ListId::Bins, {});
    EXPECT_FALSE(session->buttons().CopyBinBtn);

    session->ScanVolumes(true);
    EXPECT_TRUE(session->buttons().SiftButton);
}

}  // namespace
}  // namespace mt
