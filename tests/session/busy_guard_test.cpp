// The busy guard: while one command runs (also while it yields to the event loop or waits on
// a dialog), every entry point is refused and changes nothing; a close asked for meanwhile
// comes when the command ends; a failure inside a command becomes a message box and never
// leaves the session stuck.

#include <filesystem>
#include <stdexcept>

#include "fixtures/database_builders.h"
#include "fixtures/media_files.h"
#include "fixtures/volume_builder.h"
#include "session/session_harness.h"

namespace mt {
namespace {

using namespace fixtures;

struct EntryPoint {
    const char* name;
    std::function<Outcome(Session&, const Chooser&, const std::string& path)> call;
};

const std::vector<EntryPoint>& EntryPoints() {
    static const std::vector<EntryPoint> all = {
        {"BuildVolumeList", [](Session& s, auto&, auto&) { return s.BuildVolumeList(); }},
        {"FirstScan", [](Session& s, auto&, auto&) { return s.FirstScan(); }},
        {"ScanVolumes", [](Session& s, auto&, auto&) { return s.ScanVolumes(true); }},
        {"AddFolder", [](Session& s, auto& c, auto&) { return s.AddFolder(c); }},
        {"AddFolders", [](Session& s, auto&, auto& p) { return s.AddFolders({p}); }},
        {"SiftVolumes", [](Session& s, auto&, auto&) { return s.SiftVolumes(); }},
        {"SiftProject", [](Session& s, auto&, auto&) { return s.SiftProject(); }},
        {"CopyProject", [](Session& s, auto& c, auto&) { return s.CopyProject(c); }},
        {"UnsiftProject", [](Session& s, auto&, auto&) { return s.UnsiftProject(); }},
        {"AddBin", [](Session& s, auto& c, auto&) { return s.AddBin(c); }},
        {"AddBinFile", [](Session& s, auto&, auto& p) { return s.AddBinFile(p); }},
        {"CopyBin", [](Session& s, auto& c, auto&) { return s.CopyBin(c); }},
        {"SortFileRows",
         [](Session& s, auto&, auto&) { return s.SortFileRows(FileRow::kSize, false); }},
    };
    return all;
}

// The command that runs when the second one is tried: a forced scan (which yields after every
// row, project and file), or a copy of a project (which yields after every file).
enum class Running { Scan, CopyProject };

class BusyGuardTest : public SessionTest,
                      public ::testing::WithParamInterface<std::tuple<EntryPoint, Running>> {
protected:
    void SetUp() override {
        volume = BuildVolume(temp.path(), "One",
                             {{"Small.mxf", "Alpha", 10}, {"Large.mxf", "Alpha", 5000}});
        volumes.push_back(volume.top);
        bin = temp.Path("Edit.avb");
        WriteBin(bin, {volume.mobIds[0]});
        OpenAndScan();
        session->SetSelection(ListId::Volumes, {0});
        session->SetSelection(ListId::Projects, {0});
        session->AddBinFile(bin);
        Forget();
    }

    TestVolume volume;
    std::string bin;
};

TEST_P(BusyGuardTest, ASecondCommandIsRefusedAndChangesNothing) {
    const auto& [inner, running] = GetParam();
    const auto tree = SnapshotTree(temp.path());
    const std::string other = MakeFolder(temp.Path("Other"));
    FakeChooser innerChooser;
    innerChooser.answer = other;
    std::optional<Outcome> refused;
    CurrentHooks().yield = [&] {
        if (!refused) refused = inner.call(*session, innerChooser(), other);
    };
    FakeChooser outerChooser;
    outerChooser.answer = temp.Path("Copies");

    const Outcome outcome = running == Running::Scan ? session->ScanVolumes(true)
                                                     : session->CopyProject(outerChooser());

    EXPECT_EQ(outcome, Outcome::Done);
    ASSERT_TRUE(refused.has_value()) << "the running command never yielded";
    EXPECT_EQ(*refused, Outcome::Refused);
    EXPECT_NE(std::find(label.texts.begin(), label.texts.end(), kBusyText), label.texts.end());
    EXPECT_EQ(label.text, "Ready");
    EXPECT_FALSE(session->busy());
    // Nothing of the refused command: no dialog, no row, no log block, no sort, no file moved.
    EXPECT_TRUE(innerChooser.prompts.empty());
    EXPECT_EQ(session->volumeRows().size(), 1u);
    EXPECT_EQ(session->binRows().size(), 1u);
    EXPECT_EQ(observer.logged.size(), running == Running::CopyProject ? 1u : 0u);
    EXPECT_TRUE(hooks.messages.empty());
    ASSERT_EQ(session->fileRows().size(), 2u);
    EXPECT_EQ(session->fileRows()[0].cells[FileRow::kName], "Small.mxf");
    EXPECT_EQ(PathExists(volume.MediaPath("Small.mxf")), true);
    auto after = SnapshotTree(temp.path());
    for (auto it = after.begin(); it != after.end();) {
        const bool ours = it->first.rfind("Copies", 0) == 0 || it->first == "Other";
        it = ours ? after.erase(it) : std::next(it);
    }
    EXPECT_EQ(after, tree);
}

INSTANTIATE_TEST_SUITE_P(EveryEntryPoint, BusyGuardTest,
                         ::testing::Combine(::testing::ValuesIn(EntryPoints()),
                                            ::testing::Values(Running::Scan, Running::CopyProject)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) == Running::Scan ? "WhileScanning"
                                                                              : "WhileCopying");
                         });

class SessionCloseTest : public SessionTest {};

TEST_F(SessionCloseTest, ACloseDuringACommandComesWhenItEnds) {
    volumes.push_back(BuildVolume(temp.path(), "One", {{"A.mxf", "Alpha"}}).top);
    OpenAndScan();
    std::optional<bool> closeNow;
    CurrentHooks().yield = [&] {
        if (!closeNow) closeNow = session->RequestClose();
        if (!observer.events.empty()) {
            EXPECT_NE(observer.events.back(), "close");
        }
    };

    session->ScanVolumes(true);

    EXPECT_EQ(closeNow, false);
    EXPECT_NE(std::find(label.texts.begin(), label.texts.end(), kClosingText), label.texts.end());
    ASSERT_FALSE(observer.events.empty());
    EXPECT_EQ(observer.events.back(), "close");
    EXPECT_EQ(std::count(observer.events.begin(), observer.events.end(), "close"), 1);

    // Idle: close at once, nothing put off.
    observer.events.clear();
    CurrentHooks().yield = nullptr;
    EXPECT_TRUE(session->RequestClose());
    session->ScanVolumes(false);
    EXPECT_EQ(std::count(observer.events.begin(), observer.events.end(), "close"), 0);
}

class SessionFailureTest : public SessionTest {};

TEST_F(SessionFailureTest, AFailureInsideACommandBecomesAMessageBox) {
    volumes.push_back(BuildVolume(temp.path(), "One", {{"A.mxf", "Alpha"}}).top);
    OpenAndScan();
    session->SetSelection(ListId::Projects, {0});
    struct Case {
        const char* name;
        std::function<Outcome()> run;
        const char* why;
    };
    const Chooser throwing = [](const std::string&) -> std::optional<std::string> {
        throw std::runtime_error("the dialog went away");
    };
    const std::vector<Case> cases = {
        {"ChooserThrows", [&] { return session->CopyProject(throwing); }, "the dialog went away"},
        {"YieldThrowsMidScan",
         [&] {
             CurrentHooks().yield = [] { throw std::runtime_error("event loop gone"); };
             return session->ScanVolumes(true);
         },
         "event loop gone"},
        {"OutOfMemory",
         [&] {
             CurrentHooks().yield = [] { throw std::bad_alloc(); };
             return session->SiftProject();
         },
         "there was not enough memory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Forget();
        EXPECT_EQ(c.run(), Outcome::Done);
        CurrentHooks().yield = [] {};
        ASSERT_EQ(hooks.messages.size(), 1u);
        EXPECT_NE(
            hooks.messages[0].find("The command stopped before its end: " + std::string(c.why)),
            std::string::npos)
            << hooks.messages[0];
        EXPECT_FALSE(session->busy());
        EXPECT_EQ(label.text, "Ready");
        EXPECT_FALSE(bar.visible);
        // The session goes on working.
        EXPECT_EQ(session->ScanVolumes(true), Outcome::Done);
        EXPECT_EQ(session->projectRows().size(), 1u);
        session->SetSelection(ListId::Projects, {0});
    }
}

TEST_F(SessionFailureTest, AVolumeListThatCannotBeReadIsSaid) {
    session = std::make_unique<Session>(
        RealFileSystem(),
        []() -> std::vector<FolderItem> { throw std::runtime_error("no mount table"); },
        std::vector<std::string>{});
    session->SetStatusLabel(&label);

    EXPECT_EQ(session->BuildVolumeList(), Outcome::Done);

    ASSERT_EQ(hooks.messages.size(), 1u);
    EXPECT_NE(hooks.messages[0].find("no mount table"), std::string::npos);
    EXPECT_EQ(label.text, "Ready");
    EXPECT_EQ(session->FirstScan(), Outcome::Done);
}

}  // namespace
}  // namespace mt
