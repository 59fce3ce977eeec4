// The batch operations (sift, unsift and copy of a project, copy of a bin, sift of a whole
// volume) with a fault injected through the file system: a failing first or third rename,
// a disk that fills up half way through a large copy, access denied, a source moved away or
// deleted just before its turn, a target name taken between the check and the move, a
// read-only volume, a sidecar that cannot follow its file. Whatever goes wrong, every media
// file must still exist exactly once with its bytes and its sidecar beside it, no temporary
// may be left, every failure must be named in the log by its source path, and one message
// box must say that there were errors.

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fixtures/fake_window.h"
#include "fixtures/fault_injecting_file_system.h"
#include "fixtures/generated_volume.h"
#include "fixtures/mac_metadata_builders.h"
#include "fixtures/media_files.h"
#include "fixtures/media_ledger.h"
#include "fixtures/scripted_file_system.h"
#include "fixtures/temp_folder.h"
#include "projects/bin_class.h"
#include "projects/volume_scan.h"

namespace mt {
namespace {

namespace fs = std::filesystem;
using fixtures::GeneratedFile;
using fixtures::ScriptedFileSystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kErrorsBox = "There were some errors. See the log tab.";
constexpr size_t kBigSize = 3 << 20;

GeneratedFile Media(const Bytes& name, const Bytes& project, size_t payload, bool sidecar,
                    const std::string& folder = "") {
    // Files the folder scan finds in a sifted folder are no longer in the database.
    return {name, project, payload, sidecar, folder, folder.empty()};
}

// A volume with two unsifted projects in the database and one sifted project found by the
// folder scan; a bin outside the volume uses three of the files.
class Scene {
public:
    Scene()
        : volume(fixtures::GenerateVolume(
              temp.path(), "Media",
              {
                  Media("S01.omf", "Spot30", 2000, true),
                  Media("S02.omf", "Spot30", 3000, false),
                  Media("Big.omf", "Spot30", kBigSize, true),
                  Media("S04.omf", "Spot30", 1500, true),
                  Media("P01.omf", "Promo", 1200, false),
                  Media("P02.omf", "Promo", 2500, true),
                  Media("T01.omf", "Trailer", 1100, true, "Trailer_sifted"),
                  Media("T02.omf", "Trailer", 1300, false, "Trailer_sifted"),
                  Media("T03.omf", "Trailer", 1700, false, "Trailer_sifted"),
              })) {
        fixtures::MakeFolder(bins);
        fixtures::MakeFolder(elsewhere);
        fixtures::WriteBinUsing(bin, volume, {"S02.omf", "Big.omf", "P02.omf"});
        ledger.RecordTree(volume.media);
    }

    fixtures::TempFolder temp;
    fixtures::GeneratedVolume volume;
    std::string bins = temp.Path("Bins");
    std::string bin = bins + "/Edit.avb";
    std::string target = temp.Path("Target");        // made by the copy
    std::string elsewhere = temp.Path("Elsewhere");  // where a file taken away goes
    fixtures::MediaLedger ledger;
};

// What the window or mactarnwick-cli holds after a scan, read through a file system.
struct Catalogue {
    Catalogue(const std::string& top, FileSystem& fs) {
        folders.push_back(std::make_shared<Tarnwicker>(FolderItem::Volume(top, fs), false));
        lists = BuildProjects(ReadVolumeCatalogues(folders, false, nullptr), folders, nullptr);
    }
    ProjectPtr Find(const Bytes& name) const {
        for (const auto* list : {&lists.projects, &lists.siftedProjects}) {
            for (const auto& project : *list) {
                if (project->projectname == name) return project;
            }
        }
        ADD_FAILURE() << "no project " << name;
        return std::make_shared<Project>(name);
    }
    std::vector<TarnwickerPtr> folders;
    ProjectLists lists;
};

// A batch ready to run: the object that runs it and the files in the order it takes them.
struct Batch {
    Worker* worker = nullptr;
    std::function<void()> run;
    MediaFileList members;
};

struct Operation {
    std::string name;
    bool copies;
    std::vector<Bytes> files;  // the files it works on, in its order
    std::function<Batch(Catalogue&, const Scene&, FileSystem&)> prepare;
    // Whether the file of that name lying at path is where the batch puts it.
    std::function<bool(const Scene&, const std::string& path, const GeneratedFile&)> arrived;
};

bool InFolder(const std::string& path, const std::string& folder) {
    return fs::path(path).parent_path() == fs::path(folder);
}

std::vector<Operation> Operations() {
    auto projectBatch = [](const Bytes& name,
                           std::function<void(Project&, const Scene&, FileSystem&)> act) {
        return [name, act](Catalogue& catalogue, const Scene& scene, FileSystem& fs) {
            ProjectPtr project = catalogue.Find(name);
            return Batch{project.get(), [project, act, &scene, &fs] { act(*project, scene, fs); },
                         project->MediaFiles};
        };
    };
    const std::vector<Bytes> spot = {"S01.omf", "S02.omf", "Big.omf", "S04.omf"};
    return {
        {"SiftProject", false, spot,
         projectBatch("Spot30", [](Project& p, const Scene&, FileSystem&) { p.SiftProject(); }),
         [](const Scene& s, const std::string& path, const GeneratedFile&) {
             return InFolder(path, s.volume.media + "/Spot30_sifted");
         }},
        {"UnsiftProject",
         false,
         {"T01.omf", "T02.omf", "T03.omf"},
         projectBatch("Trailer[Trailer_sifted]",
                      [](Project& p, const Scene&, FileSystem&) { p.UnsiftProject(); }),
         [](const Scene& s, const std::string& path, const GeneratedFile&) {
             return InFolder(path, s.volume.media);
         }},
        {"CopyProject", true, spot,
         projectBatch("Spot30",
                      [](Project& p, const Scene& s, FileSystem& fs) {
                          p.CopyProject(FolderItem::OnItsVolume(s.target, fs));
                      }),
         [](const Scene& s, const std::string& path, const GeneratedFile&) {
             return InFolder(path, s.target);
         }},
        {"CopyBin",
         true,
         {"S02.omf", "Big.omf", "P02.omf"},
         [](Catalogue& catalogue, const Scene& scene, FileSystem& fs) {
             auto bin = std::make_shared<BinClass>();
             bin->file = FolderItem::OnItsVolume(scene.bin, fs);
             bin->AddMediaFiles(catalogue.folders[0]->GetFilesForProject(""));
             return Batch{
                 bin.get(),
                 [bin, &scene, &fs] { bin->CopyBin(FolderItem::OnItsVolume(scene.target, fs)); },
                 bin->MediaFiles};
         },
         [](const Scene& s, const std::string& path, const GeneratedFile&) {
             return InFolder(path, s.target);
         }},
        {"SiftVolume",
         false,
         {"P01.omf", "P02.omf", "S01.omf", "S02.omf", "Big.omf", "S04.omf"},
         [](Catalogue& catalogue, const Scene&, FileSystem&) {
             TarnwickerPtr folder = catalogue.folders[0];
             // The projects of the database come first in the sorted order; the folder
             // scan's "[OMFI MediaFiles]" names of the same files follow each.
             MediaFileList members;
             for (const Bytes& project : folder->GetProjectList()) {
                 if (project.find('[') != Bytes::npos) continue;
                 for (const auto& media : folder->GetFilesForProject(project))
                     members.push_back(media);
             }
             return Batch{folder.get(), [folder] { folder->Sift(); }, members};
         },
         // The folder scan also lists each file as "<project>[OMFI MediaFiles]", which the
         // sift gives a folder of its own: either folder of the file's project will do.
         [](const Scene& s, const std::string& path, const GeneratedFile& file) {
             const fs::path folder = fs::path(path).parent_path();
             const std::string name = folder.filename().string();
             return folder.parent_path() == fs::path(s.volume.media) &&
                    name.rfind(file.project, 0) == 0 && name.size() > 7 &&
                    name.compare(name.size() - 7, 7, "_sifted") == 0;
         }},
    };
}

// The file systems a batch runs through: the scripted one on top of the fault-injecting one
// on top of the real one. Faults are armed after the scan, so only the batch meets them.
struct Rig {
    fixtures::FaultInjectingFileSystem injecting{RealFileSystem()};
    ScriptedFileSystem scripted{injecting};
    std::set<std::string> intruders;  // entries another program put in the way
    std::set<Bytes> gone;             // files another program deleted
};

const Bytes kIntruderBytes = "someone else's file, not to be touched";

// Moves a file and its sidecar to another folder, as another program would.
void TakeAway(const std::string& path, const std::string& folder) {
    const fs::path from(path);
    fs::rename(from, fs::path(folder) / from.filename());
    const fs::path sidecar = from.parent_path() / ("._" + from.filename().string());
    std::error_code ec;
    if (fs::exists(fs::symlink_status(sidecar, ec))) {
        fs::rename(sidecar, fs::path(folder) / sidecar.filename());
    }
}

void Delete(const std::string& path) {
    const fs::path from(path);
    std::error_code ec;
    fs::remove(from, ec);
    fs::remove(from.parent_path() / ("._" + from.filename().string()), ec);
}

struct Fault {
    std::string name;
    bool hitsMoves;
    bool hitsCopies;
    // How the failure reads in the log: each error line starts with one of these.
    std::vector<std::string> texts;
    // members: the batch's files in its order; victim: the one a fault that picks one picks.
    std::function<void(Rig&, const Scene&, const std::vector<MediaFilePtr>& members,
                       const std::string& victim)>
        arm;
};

std::optional<FileError> Forward() { return std::nullopt; }

std::vector<Fault> Faults() {
    using Call = ScriptedFileSystem::Call;
    return {
        {"FirstRenameFails",
         true,
         true,
         {"Error: Input/output error"},
         [](Rig& rig, const Scene&, const auto&, const auto&) {
             rig.injecting.FailNthRename(1, EIO);
         }},
        {"ThirdRenameFails",
         true,
         true,
         {"Error 104: File in use."},
         [](Rig& rig, const Scene&, const auto&, const auto&) {
             rig.injecting.FailNthRename(3, EBUSY);
         }},
        {"DiskFullHalfWayThroughALargeCopy",
         false,
         true,
         {"Error: No space left on device"},
         [](Rig& rig, const Scene&, const std::vector<MediaFilePtr>& members, const auto&) {
             // Room for every file before the large one and half of it; then the disk is full.
             uint64_t room = 0;
             for (const auto& media : members) {
                 const std::string path = media->file->ShellPath();
                 if (fs::path(path).filename() == "Big.omf") {
                     room += kBigSize / 2;
                     break;
                 }
                 room += fs::file_size(path);
                 const fs::path sidecar = fs::path(path).parent_path() / ("._" + media->filename);
                 if (fs::exists(sidecar)) room += fs::file_size(sidecar);
             }
             rig.injecting.FailWritesAfter(room, ENOSPC);
         }},
        {"AccessDeniedOnEveryRename",
         true,
         true,
         {"Error 102: Access denied."},
         [](Rig& rig, const Scene&, const auto&, const auto&) {
             rig.scripted.SetScript([](const Call& call) -> std::optional<FileError> {
                 if (call.op == "Rename") return ErrorFromSystem(EACCES);
                 return Forward();
             });
         }},
        {"AccessDeniedCreatingFiles",
         false,
         true,
         {"Error 102: Access denied."},
         [](Rig& rig, const Scene&, const auto&, const auto&) {
             rig.injecting.FailCreateNew(EACCES);
         }},
        {"AccessDeniedReadingOneSource",
         false,
         true,
         {"Error 102: Access denied."},
         [](Rig& rig, const Scene&, const auto&, const std::string& victim) {
             rig.injecting.FailOpenRead(victim, EACCES);
         }},
        {"SourceMovedAwayJustBeforeItsTurn",
         true,
         true,
         {"Error 101: File not found."},
         [](Rig& rig, const Scene& scene, const auto&, const std::string& victim) {
             const std::string elsewhere = scene.elsewhere;
             rig.scripted.SetScript([victim, elsewhere, done = false](const Call& call) mutable {
                 if (!done && call.path == victim &&
                     (call.op == "Rename" || call.op == "OpenRead")) {
                     TakeAway(victim, elsewhere);
                     done = true;
                 }
                 return Forward();
             });
         }},
        // A file that is gone when its turn comes is skipped; the others go on.
        {"SourceDeletedBeforeItsTurn",
         false,
         false,
         {},
         [](Rig& rig, const Scene&, const auto&, const std::string& victim) {
             rig.gone.insert(fs::path(victim).filename().string());
             rig.scripted.SetScript([victim, done = false](const Call& call) mutable {
                 if (!done && call.path == victim && call.op == "Stat") {
                     Delete(victim);
                     done = true;
                 }
                 return Forward();
             });
         }},
        {"TargetNameTakenBetweenCheckAndMove",
         true,
         true,
         {"File exists already on destination"},
         [](Rig& rig, const Scene&, const auto&, const auto&) {
             rig.scripted.SetScript([&rig](const Call& call) {
                 if (call.op == "Rename" && call.nth == 2) {
                     fixtures::WriteFileBytes(call.path2, kIntruderBytes);
                     rig.intruders.insert(call.path2);
                 }
                 return Forward();
             });
         }},
        {"ReadOnlyFileSystem",
         true,
         true,
         {"Invalid target ", "Error 102: Access denied."},
         [](Rig& rig, const Scene& scene, const auto&, const auto&) {
             rig.scripted.SetScript(fixtures::ReadOnlyBelow(scene.temp.path()));
         }},
        {"SidecarCannotFollow",
         true,
         true,
         {"Error 102: Access denied."},
         [](Rig& rig, const Scene&, const auto&, const auto&) {
             rig.scripted.SetScript([](const Call& call) -> std::optional<FileError> {
                 if (call.op == "Rename" &&
                     fs::path(call.path2).filename().string().rfind("._", 0) == 0) {
                     return ErrorFromSystem(EACCES);
                 }
                 return Forward();
             });
         }},
        {"SourceStopsAnsweringHalfWay",
         false,
         true,
         {"Error: The source file could not be read"},
         [](Rig& rig, const Scene& scene, const auto&, const auto&) {
             const std::string big = scene.volume.PathOf("Big.omf");
             rig.scripted.SetScript([big](const Call& call) -> std::optional<FileError> {
                 if (call.op == "Read" && call.path == big && call.position >= kBigSize / 2) {
                     return ErrorFromSystem(EIO);
                 }
                 return Forward();
             });
         }},
    };
}

void PrintTo(const Operation& op, std::ostream* os) { *os << op.name; }
void PrintTo(const Fault& fault, std::ostream* os) { *os << fault.name; }

using Case = std::tuple<Operation, Fault>;

class BatchFaultTest : public ::testing::TestWithParam<Case> {};

std::vector<std::string> ErrorLines(const std::vector<std::string>& log) {
    // The header first, the end line last.
    if (log.size() < 2) return {};
    return {log.begin() + 1, log.end() - 1};
}

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

TEST_P(BatchFaultTest, EveryFileSurvivesAndEveryFailureIsReported) {
    const auto& [op, fault] = GetParam();
    Scene scene;
    Rig rig;
    fixtures::HookRecorder hooks;

    Catalogue catalogue(scene.volume.top, rig.scripted);
    Batch batch = op.prepare(catalogue, scene, rig.scripted);
    ASSERT_NE(batch.worker, nullptr);
    std::vector<Bytes> order;
    for (const auto& media : batch.members) order.push_back(media->filename);
    ASSERT_EQ(order, op.files) << "the batch works on other files than the test expects";
    const std::string victim = scene.volume.PathOf(op.files[1]);
    fault.arm(rig, scene, batch.members, victim);

    batch.run();

    const auto& log = batch.worker->loglines;
    ASSERT_GE(log.size(), 2u);
    const std::vector<std::string> errors = ErrorLines(log);

    // No file lost, doubled, changed or parted from its sidecar; no temporary anywhere.
    const std::vector<std::string> volumeRoots = {scene.volume.top, scene.elsewhere};
    const std::set<std::string>& ignore = rig.intruders;
    const fixtures::MediaLedger survivors = scene.ledger.Without(rig.gone);
    EXPECT_THAT(survivors.CheckEachOnce(volumeRoots, ignore), IsEmpty());
    if (op.copies) {
        EXPECT_THAT(survivors.CheckCopies(scene.target, ignore), IsEmpty());
    }
    EXPECT_THAT(fixtures::FindTemporaries({scene.temp.path()}), IsEmpty());
    for (const auto& intruder : rig.intruders) {
        EXPECT_EQ(fixtures::ReadFileBytes(intruder), kIntruderBytes) << intruder;
    }

    // Each file of the batch arrived, or the log names it by the path it had.
    const auto index =
        fixtures::IndexFiles(op.copies ? std::vector<std::string>{scene.target} : volumeRoots);
    int failed = 0;
    for (const Bytes& name : op.files) {
        if (rig.gone.count(name)) continue;
        const GeneratedFile& file = scene.volume.File(name);
        bool arrived = false;
        if (auto it = index.find(name); it != index.end()) {
            for (const auto& path : it->second) {
                if (!ignore.count(path) && op.arrived(scene, path, file)) arrived = true;
            }
        }
        if (arrived) continue;
        ++failed;
        const std::string source = scene.volume.PathOf(file);
        EXPECT_TRUE(
            std::any_of(errors.begin(), errors.end(),
                        [&](const std::string& line) { return EndsWith(line, " " + source); }))
            << name << " did not arrive and the log does not say so:\n"
            << ::testing::PrintToString(log);
    }
    // Files outside the batch stay where they were.
    const auto everywhere = fixtures::IndexFiles(volumeRoots);
    for (const auto& entry : survivors.entries()) {
        if (std::count(op.files.begin(), op.files.end(), entry.name)) continue;
        auto it = everywhere.find(entry.name);
        EXPECT_TRUE(it != everywhere.end() && it->second == std::vector<std::string>{entry.path})
            << entry.name << " moved";
    }

    // Every error line is one of the fault's texts and ends with the path of a file of the batch.
    for (const auto& line : errors) {
        EXPECT_TRUE(std::any_of(fault.texts.begin(), fault.texts.end(),
                                [&](const std::string& text) { return line.rfind(text, 0) == 0; }))
            << "unexpected error text: " << line;
        EXPECT_TRUE(std::any_of(
            op.files.begin(), op.files.end(),
            [&](const Bytes& name) { return EndsWith(line, " " + scene.volume.PathOf(name)); }))
            << "names no file of the batch: " << line;
    }
    const bool hit = op.copies ? fault.hitsCopies : fault.hitsMoves;
    if (hit) {
        EXPECT_GT(failed + static_cast<int>(errors.size()), 0) << "the fault never struck";
        EXPECT_THAT(hooks.messages, ElementsAre(kErrorsBox));
    } else {
        EXPECT_EQ(failed, 0);
        EXPECT_THAT(errors, IsEmpty());
        EXPECT_THAT(hooks.messages, IsEmpty());
    }
}

std::vector<Case> Cases() {
    std::vector<Case> cases;
    for (const auto& op : Operations()) {
        for (const auto& fault : Faults()) {
            // A read-only volume stops the volume sift before any file; tested on its own.
            if (op.name == "SiftVolume" && fault.name == "ReadOnlyFileSystem") continue;
            cases.emplace_back(op, fault);
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Faults, BatchFaultTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::get<0>(info.param).name + "_" +
                                    std::get<1>(info.param).name;
                         });

// --- Faults that call for more than the common checks

// A read-only volume stops the volume sift at the first project folder it cannot make, before
// any file; when the folders are there already, each file fails on its own.
TEST(BatchFaults, VolumeSiftOnAReadOnlyVolume) {
    struct Row {
        const char* what;
        bool foldersThere;
        std::vector<std::string> messages;
    };
    for (const Row& row : {Row{"no project folders yet", false, {"Could not create the folder"}},
                           Row{"project folders made before", true, {kErrorsBox}}}) {
        SCOPED_TRACE(row.what);
        Scene scene;
        fixtures::HookRecorder hooks;
        if (row.foldersThere) {
            for (const char* folder : {"Promo_sifted", "Promo[OMFI MediaFiles]_sifted",
                                       "Spot30_sifted", "Spot30[OMFI MediaFiles]_sifted"}) {
                fixtures::MakeFolder(scene.volume.media + "/" + folder);
            }
        }
        const auto before = fixtures::SnapshotWithLinks(scene.temp.path());
        ScriptedFileSystem fs(RealFileSystem());
        Catalogue catalogue(scene.volume.top, fs);
        fs.SetScript(fixtures::ReadOnlyBelow(scene.volume.top));

        catalogue.folders[0]->Sift();

        EXPECT_EQ(fixtures::SnapshotWithLinks(scene.temp.path()), before) << "nothing changed";
        EXPECT_EQ(hooks.messages, row.messages);
        const auto& log = catalogue.folders[0]->loglines;
        ASSERT_GE(log.size(), 3u);
        if (!row.foldersThere) {
            EXPECT_THAT(ErrorLines(log), ElementsAre("Could not create the folder"));
            continue;
        }
        // Each file is tried, some twice (under the name the folder scan gives the folder's
        // project too), and each try is named.
        const std::vector<std::string> errors = ErrorLines(log);
        std::set<std::string> named;
        for (const auto& line : errors) {
            const std::string prefix = "Error 102: Access denied. ";
            ASSERT_EQ(line.rfind(prefix, 0), 0u) << line;
            named.insert(line.substr(prefix.size()));
        }
        std::set<std::string> expected;
        for (const char* name :
             {"P01.omf", "P02.omf", "S01.omf", "S02.omf", "Big.omf", "S04.omf"}) {
            expected.insert(scene.volume.PathOf(name));
        }
        EXPECT_EQ(named, expected);
    }
}

// A sidecar that cannot follow its file sends the file back; when the way back is blocked
// too, the file and its sidecar lie apart, and the log must say so.
TEST(BatchFaults, SidecarThatCannotFollowWhenTheWayBackIsBlockedToo) {
    Scene scene;
    Rig rig;
    fixtures::HookRecorder hooks;
    Catalogue catalogue(scene.volume.top, rig.injecting);
    ProjectPtr spot = catalogue.Find("Spot30");
    rig.injecting.FailNthRename(2, EACCES);  // S01's sidecar
    rig.injecting.FailNthRename(3, EACCES);  // S01 on its way back
    ASSERT_EQ(spot->MediaFiles[0]->filename, "S01.omf");

    spot->SiftProject();

    const std::string source = scene.volume.PathOf("S01.omf");
    EXPECT_THAT(ErrorLines(spot->loglines), ElementsAre("Error 102: Access denied. " + source));
    EXPECT_THAT(hooks.messages, ElementsAre(kErrorsBox));
    const std::string sifted = scene.volume.media + "/Spot30_sifted";
    // Nothing lost or doubled, only apart: the data moved, its sidecar stayed.
    EXPECT_EQ(fixtures::Checksum(sifted + "/S01.omf"), scene.ledger.Find("S01.omf")->checksum);
    const auto index = fixtures::IndexFiles({scene.volume.top});
    EXPECT_THAT(index.at("S01.omf"), ElementsAre(sifted + "/S01.omf"));
    EXPECT_THAT(index.at("._S01.omf"), ElementsAre(fixtures::SidecarPathOf(source)));
    EXPECT_EQ(fixtures::SidecarChecksum(source), scene.ledger.Find("S01.omf")->sidecar);
    // The other files of the project went their way.
    fixtures::MediaLedger others = scene.ledger.Without({"S01.omf"});
    EXPECT_THAT(others.CheckEachOnce({scene.volume.top}), IsEmpty());
    for (const char* name : {"S02.omf", "Big.omf", "S04.omf"}) {
        EXPECT_TRUE(fixtures::PathExists(sifted + "/" + name)) << name;
    }
}

// A source that goes away while it is being copied: deleted, its open file still gives every
// byte and the copy completes; cut short, the copy fails and leaves nothing behind.
TEST(BatchFaults, CopyWhoseSourceVanishesMidWay) {
    struct Row {
        const char* what;
        std::function<void(const std::string& path)> vanish;
        bool copied;
    };
    const std::vector<Row> rows = {
        {"deleted while read", [](const std::string& path) { fs::remove(path); }, true},
        {"cut short while read",
         [](const std::string& path) { fs::resize_file(path, kBigSize / 4); }, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Scene scene;
        fixtures::HookRecorder hooks;
        ScriptedFileSystem fs(RealFileSystem());
        Catalogue catalogue(scene.volume.top, fs);
        ProjectPtr spot = catalogue.Find("Spot30");
        const std::string big = scene.volume.PathOf("Big.omf");
        fs.SetScript([&](const ScriptedFileSystem::Call& call) -> std::optional<FileError> {
            if (call.op == "Read" && call.path == big && call.position > 0 &&
                call.position < kBigSize / 2) {
                row.vanish(big);
            }
            return std::nullopt;
        });

        spot->CopyProject(FolderItem::OnItsVolume(scene.target, fs));

        const auto* entry = scene.ledger.Find("Big.omf");
        EXPECT_THAT(fixtures::FindTemporaries({scene.temp.path()}), IsEmpty());
        EXPECT_THAT(scene.ledger.CheckCopies(scene.target), IsEmpty());
        if (row.copied) {
            EXPECT_EQ(fixtures::Checksum(scene.target + "/Big.omf"), entry->checksum);
            EXPECT_EQ(fixtures::SidecarChecksum(scene.target + "/Big.omf"), entry->sidecar);
            EXPECT_THAT(ErrorLines(spot->loglines), IsEmpty());
            EXPECT_THAT(hooks.messages, IsEmpty());
        } else {
            EXPECT_FALSE(fixtures::PathExists(scene.target + "/Big.omf")) << "no partial copy";
            EXPECT_FALSE(fixtures::PathExists(scene.target + "/._Big.omf"));
            EXPECT_THAT(ErrorLines(spot->loglines),
                        ElementsAre("Error: The source file could not be read to its end " + big));
            EXPECT_THAT(hooks.messages, ElementsAre(kErrorsBox));
        }
        for (const char* name : {"S01.omf", "S02.omf", "S04.omf"}) {
            EXPECT_TRUE(fixtures::PathExists(scene.target + "/" + name)) << name;
        }
    }
}

}  // namespace
}  // namespace mt
