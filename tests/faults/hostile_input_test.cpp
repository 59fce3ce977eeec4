// Hostile volumes driven through mactarnwick-cli: database names that try to leave the media
// folder or break the output, symbolic links in place of media files, sifted folders and the
// media folder, unreadable files and folders, a bin that is a folder, a read-only media
// folder. Each must give a clear status or log line and change nothing outside the media
// folder: a sibling folder, and whatever a link points at, keep their listing and bytes.

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <sstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/cli.h"
#include "fixtures/database_builders.h"
#include "fixtures/fake_window.h"
#include "fixtures/generated_volume.h"
#include "fixtures/media_files.h"
#include "fixtures/media_ledger.h"
#include "fixtures/program_run.h"
#include "fixtures/scripted_file_system.h"
#include "fixtures/temp_folder.h"
#include "projects/bin_class.h"
#include "projects/volume_scan.h"

namespace mt {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// A temp folder holding the volume "Vol" and, beside it, "Outside": what no command on the
// volume may touch. "Target" is where copies go; "Bins" holds bins.
struct HostileScene {
    HostileScene() {
        fixtures::MakeFolder(top);
        fixtures::MakeFolder(outside + "/Evil");
        fixtures::MakeFolder(bins);
        fixtures::WriteFileBytes(outside + "/victim.omf",
                                 fixtures::GeneratedMediaBytes("Evil", 900, 99));
        fixtures::WriteFileBytes(outside + "/Evil/e.omf",
                                 fixtures::GeneratedMediaBytes("Evil", 700, 98));
        fixtures::WriteFileBytes(outside + "/notes.txt", "an editor's notes");
    }
    // A media folder with the files (each with its project in the trailer) and a database
    // that lists the records as they are given.
    void MediaFolder(const std::vector<std::pair<Bytes, Bytes>>& files,
                     const std::vector<fixtures::DatabaseRecord>& records) {
        fixtures::MakeFolder(media);
        unsigned seed = 1;
        for (const auto& [name, project] : files) {
            fixtures::WriteFileBytes(media + "/" + name,
                                     fixtures::GeneratedMediaBytes(project, 500, seed++));
        }
        fixtures::WriteDatabase(media + "/msmFMID.pmr", records);
    }
    static fixtures::DatabaseRecord Record(const Bytes& name, const Bytes& project, uint32_t id) {
        return {fixtures::MobId(id), name, project};
    }
    void Link(const std::string& at, const std::string& to) { fs::create_symlink(to, at); }

    // Everything below the temp folder except the media folder's insides and the copies.
    std::map<std::string, std::string> OutsideTheMediaFolder() const {
        auto all = fixtures::SnapshotWithLinks(temp.path());
        for (auto it = all.begin(); it != all.end();) {
            const std::string& path = it->first;
            const bool inMedia = path.rfind("Vol/OMFI MediaFiles/", 0) == 0;
            const bool copy = path == "Target" || path.rfind("Target/", 0) == 0;
            it = inMedia || copy ? all.erase(it) : std::next(it);
        }
        return all;
    }

    std::string Expand(std::string text) const {
        const std::pair<const char*, std::string> names[] = {
            {"{top}", top},       {"{media}", media}, {"{outside}", outside},
            {"{target}", target}, {"{bins}", bins},   {"{temp}", temp.path()}};
        for (const auto& [key, value] : names) {
            for (size_t at; (at = text.find(key)) != std::string::npos;)
                text.replace(at, strlen(key), value);
        }
        return text;
    }

    fixtures::TempFolder temp;
    std::string top = temp.Path("Vol");
    std::string media = top + "/OMFI MediaFiles";
    std::string outside = temp.Path("Outside");
    std::string target = temp.Path("Target");
    std::string bins = temp.Path("Bins");
};

struct CliOutcome {
    int status = -1;
    std::vector<std::string> lines;
    std::string err;
};

CliOutcome InProcess(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CliOutcome outcome;
    outcome.status = RunCli(args, out, err);
    outcome.lines = fixtures::TextLines(out.str());
    outcome.err = err.str();
    return outcome;
}

CliOutcome BuiltProgram(const std::vector<std::string>& args) {
    fixtures::ProgramRun run = fixtures::RunProgram(MT_CLI_PATH, args);
    return {run.status, fixtures::TextLines(run.out), run.err};
}

// A log line's date stamp gives way to "<stamp>", so that two runs compare equal.
std::vector<std::string> WithoutStamps(std::vector<std::string> lines) {
    for (auto& line : lines) {
        if (line.rfind("log\t", 0) == 0 && line.size() >= 23 && line[8] == '-' && line[17] == ':') {
            line = "log\t<stamp>" + line.substr(23);
        }
    }
    return lines;
}

struct CliCase {
    std::string name;
    std::function<void(HostileScene&)> setup;
    std::vector<std::string> args;  // {top}, {media}, {outside}, {target}, {bins}, {temp} expand
    int status;
    // Each must be part of some line of the output.
    std::vector<std::string> said;
    // Paths that must, or must not, exist afterwards.
    std::vector<std::string> present;
    std::vector<std::string> absent;
    bool alsoBuiltProgram = false;
};

void PrintTo(const CliCase& c, std::ostream* os) { *os << c.name; }

// A volume whose database names the file a.omf of project P and whatever else the case adds.
std::function<void(HostileScene&)> VolumeWith(std::vector<std::pair<Bytes, Bytes>> files,
                                              std::vector<std::pair<Bytes, Bytes>> records,
                                              std::function<void(HostileScene&)> more = {}) {
    return [=](HostileScene& s) {
        std::vector<fixtures::DatabaseRecord> db;
        uint32_t id = 1;
        for (const auto& [name, project] : records)
            db.push_back(HostileScene::Record(s.Expand(name), project, id++));
        s.MediaFolder(files, db);
        if (more) more(s);
    };
}

fixtures::GeneratedFile ElsewhereFile() {
    fixtures::GeneratedFile file;
    file.name = "m.omf";
    file.project = "P";
    return file;
}

std::vector<CliCase> CliCases() {
    const Bytes nonUtf8 = "\xff\xfe\x80 take.omf";
    return {
        {"DatabaseFileNamesClimbOutOfTheMediaFolder",
         VolumeWith({{"a.omf", "Evil"}}, {{"a.omf", "Evil"},
                                          {"../../Outside/victim.omf", "Evil"},
                                          {"{outside}/victim.omf", "Evil"},
                                          {"../../Outside/Evil", "Evil"}}),
         {"sift-project", "Evil", "{top}"},
         0,
         {"log\t"},
         {"{media}/Evil_sifted/a.omf", "{outside}/victim.omf"},
         {"{media}/a.omf"}},
        {"DatabaseFileNamesClimbOutOfTheMediaFolderOfACopy",
         VolumeWith({{"a.omf", "Evil"}}, {{"a.omf", "Evil"},
                                          {"../../Outside/victim.omf", "Evil"},
                                          {"{outside}/victim.omf", "Evil"}}),
         {"copy-project", "Evil", "{target}", "{top}"},
         0,
         {"Copy Project Evil to"},
         {"{target}/a.omf"},
         {"{target}/victim.omf"}},
        {"DatabaseFileNamesClimbOutOfTheMediaFolderWhenScanned",
         VolumeWith({{"a.omf", "Evil"}}, {{"a.omf", "Evil"},
                                          {"../../Outside/victim.omf", "Evil"},
                                          {"{outside}/victim.omf", "Evil"},
                                          {"../../Outside/Evil", "Evil"}}),
         {"scan", "{top}"},
         0,
         // A "/" stands for ":" on disk: the names stay inside the media folder, missing.
         {"volume\tVol - 4 Files 576 Bytes - files missing",
          "file\tVol\tEvil\t..:..:Outside:victim.omf\t\t-\tD\t-"},
         {},
         {}},
        {"ProjectNameClimbsOutOfTheMediaFolder",
         VolumeWith({{"a.omf", "../../Outside/Evil"}}, {{"a.omf", "../../Outside/Evil"}}),
         {"sift-volume", "{top}"},
         0,
         {"Sift Volume Vol"},
         {"{media}/..:..:Outside:Evil_sifted/a.omf"},
         {"{outside}/Evil_sifted", "{temp}/Evil_sifted"}},
        {"DotAndEmptyNames",
         VolumeWith({{"a.omf", ".."}, {"b.omf", "."}, {"c.omf", ""}}, {{"a.omf", ".."},
                                                                       {"b.omf", "."},
                                                                       {"c.omf", ""},
                                                                       {"", ".."},
                                                                       {".", ".."},
                                                                       {"..", ".."},
                                                                       {"..", ""}}),
         {"sift-volume", "{top}"},
         0,
         {"Sift Volume Vol"},
         {"{media}/.._sifted/a.omf", "{media}/._sifted/b.omf", "{media}/_sifted/c.omf"},
         {}},
        {"TabsAndLineEndsInNames",
         VolumeWith({{"a\tb\n.omf", "P\r\nQ"}}, {{"a\tb\n.omf", "P\r\nQ"}}),
         {"sift-project", "P\r\nQ", "{top}"},
         0,
         {"Sift Project P\\r\\nQ"},
         {"{media}/P\r\nQ_sifted/a\tb\n.omf"},
         {}},
        {"NamesThatAreNotUtf8",
         VolumeWith({{nonUtf8, "\xe9t\xe9"}}, {{nonUtf8, "\xe9t\xe9"}}),
         {"sift-project", "\xe9t\xe9", "{top}"},
         0,
         {"Sift Project \xe9t\xe9"},
         {"{media}/\xe9t\xe9_sifted/" + nonUtf8},
         {}},
        {"DatabaseNamesAFolderOfTheMediaFolder",
         VolumeWith({{"a.omf", "P"}}, {{"a.omf", "P"}, {"Other_sifted", "P"}},
                    [](HostileScene& s) {
                        fixtures::MakeFolder(s.media + "/Other_sifted");
                        fixtures::WriteFileBytes(s.media + "/Other_sifted/o.omf",
                                                 fixtures::GeneratedMediaBytes("Other", 300, 7));
                    }),
         {"sift-project", "P", "{top}"},
         1,
         {"log\tError: Is a directory {media}/Other_sifted"},
         {"{media}/P_sifted/a.omf", "{media}/Other_sifted/o.omf"},
         {"{media}/P_sifted/Other_sifted"}},
        {"MediaFileIsALinkOutOfTheVolume",
         VolumeWith(
             {{"a.omf", "P"}}, {{"a.omf", "P"}, {"link.omf", "P"}},
             [](HostileScene& s) { s.Link(s.media + "/link.omf", s.outside + "/victim.omf"); }),
         {"copy-project", "P", "{target}", "{top}"},
         1,
         {"{media}/link.omf"},
         {"{target}/a.omf", "{outside}/victim.omf"},
         {"{target}/link.omf"}},
        {"MediaFileIsALinkOutOfTheVolumeWhenSifted",
         VolumeWith(
             {{"a.omf", "P"}}, {{"a.omf", "P"}, {"link.omf", "P"}},
             [](HostileScene& s) { s.Link(s.media + "/link.omf", s.outside + "/victim.omf"); }),
         {"sift-project", "P", "{top}"},
         0,
         {"Sift Project P"},
         {"{media}/P_sifted/a.omf", "{outside}/victim.omf"},
         {}},
        {"LinkOutOfTheVolumeAmongTheFilesIsNotListed",
         VolumeWith({{"a.omf", "P"}}, {{"a.omf", "P"}},
                    [](HostileScene& s) { s.Link(s.media + "/x.omf", s.outside + "/victim.omf"); }),
         {"scan", "{top}"},
         0,
         {"volume\tVol - 1 Files"},
         {},
         {}},
        {"SiftedFolderIsALinkOutOfTheVolume",
         VolumeWith({{"a.omf", "P"}}, {{"a.omf", "P"}},
                    [](HostileScene& s) { s.Link(s.media + "/P_sifted", s.outside + "/Evil"); }),
         {"sift-project", "P", "{top}"},
         1,
         {"Invalid target {media}/P_sifted {media}/a.omf"},
         {"{media}/a.omf"},
         {"{outside}/Evil/a.omf"},
         true},
        {"SiftedFolderIsALinkOutOfTheVolumeInAVolumeSift",
         VolumeWith({{"a.omf", "P"}}, {{"a.omf", "P"}},
                    [](HostileScene& s) { s.Link(s.media + "/P_sifted", s.outside + "/Evil"); }),
         {"sift-volume", "{top}"},
         1,
         {"message\tThere is already a file with the project name"},
         {"{media}/a.omf"},
         {"{outside}/Evil/a.omf"}},
        {"SiftedFolderIsALinkOutOfTheVolumeWhenUnsifted",
         VolumeWith({{"a.omf", "P"}}, {{"a.omf", "P"}},
                    [](HostileScene& s) { s.Link(s.media + "/Evil_sifted", s.outside + "/Evil"); }),
         {"unsift-project", "Evil[Evil_sifted]", "{top}"},
         1,
         {"message\tNo Project selected"},
         {"{outside}/Evil/e.omf"},
         {"{media}/e.omf"}},
        {"SiftedFolderIsALinkToNowhere",
         VolumeWith(
             {{"a.omf", "P"}}, {{"a.omf", "P"}},
             [](HostileScene& s) { s.Link(s.media + "/P_sifted", s.outside + "/NotThere"); }),
         {"sift-project", "P", "{top}"},
         1,
         {"Invalid target {media}/P_sifted {media}/a.omf"},
         {"{media}/a.omf"},
         {"{outside}/NotThere"}},
        {"DatabaseIsALinkOutOfTheVolume",
         [](HostileScene& s) {
             s.MediaFolder({{"a.omf", "P"}}, {});
             fs::remove(s.media + "/msmFMID.pmr");
             fixtures::WriteDatabase(s.outside + "/msmFMID.pmr",
                                     {HostileScene::Record("a.omf", "Evil", 1),
                                      HostileScene::Record("../victim.omf", "Evil", 2)});
             s.Link(s.media + "/msmFMID.pmr", s.outside + "/msmFMID.pmr");
         },
         {"scan", "{top}"},
         0,
         {"volume\tVol - 0 Files - - cannot read database"},
         {},
         {}},
        {"DatabaseIsALinkOutOfTheVolumeInAVolumeSift",
         [](HostileScene& s) {
             s.MediaFolder({{"a.omf", "P"}}, {});
             fs::remove(s.media + "/msmFMID.pmr");
             fixtures::WriteDatabase(s.outside + "/msmFMID.pmr",
                                     {HostileScene::Record("a.omf", "Evil", 1)});
             s.Link(s.media + "/msmFMID.pmr", s.outside + "/msmFMID.pmr");
         },
         {"sift-volume", "{top}"},
         0,
         {"Sift Volume Vol"},
         {"{media}/a.omf", "{media}/msmFMID.pmr"},
         {"{media}/Evil_sifted", "{media}/P_sifted"}},
        {"MediaFolderIsALinkOutOfTheVolume",
         [](HostileScene& s) {
             fixtures::GenerateVolume(s.outside, "Elsewhere", {ElsewhereFile()});
             s.Link(s.media, s.outside + "/Elsewhere/OMFI MediaFiles");
         },
         {"sift-volume", "{top}"},
         0,
         {"Sift Volume Vol"},
         {"{outside}/Elsewhere/OMFI MediaFiles/m.omf"},
         {"{outside}/Elsewhere/OMFI MediaFiles/P_sifted"},
         true},
        {"MediaFolderIsALinkOutOfTheVolumeWhenScanned",
         [](HostileScene& s) {
             fixtures::GenerateVolume(s.outside, "Elsewhere", {ElsewhereFile()});
             s.Link(s.media, s.outside + "/Elsewhere/OMFI MediaFiles");
         },
         {"scan", "{top}"},
         0,
         {"volume\tVol - 0 Files - - no OMFI MediaFolder"},
         {},
         {}},
        // A link that the user picks is followed: the folder it names is the one added.
        {"AddedFolderIsALinkTheUserChose",
         VolumeWith({{"a.omf", "P"}}, {{"a.omf", "P"}},
                    [](HostileScene& s) { s.Link(s.top + "/Added", s.media); }),
         {"sift-volume", "--folder", "{top}/Added"},
         0,
         {"Sift Folder {media}"},
         {"{media}/P_sifted/a.omf", "{top}/Added"},
         {"{media}/a.omf"}},
        {"BinIsAFolder",
         VolumeWith({{"a.omf", "P"}}, {{"a.omf", "P"}},
                    [](HostileScene& s) {
                        fixtures::MakeFolder(s.bins + "/Edit.avb");
                        fixtures::WriteFileBytes(s.bins + "/Edit.avb/inside", fixtures::MobId(1));
                    }),
         {"bin", "{bins}/Edit.avb", "{top}"},
         0,
         {"bin\tEdit.avb - 0 Files -"},
         {},
         {}},
        {"BinIsAFolderWhenCopied",
         VolumeWith({{"a.omf", "P"}}, {{"a.omf", "P"}},
                    [](HostileScene& s) {
                        fixtures::MakeFolder(s.bins + "/Edit.avb");
                        fixtures::WriteFileBytes(s.bins + "/Edit.avb/inside", fixtures::MobId(1));
                    }),
         {"copy-bin", "{bins}/Edit.avb", "{target}", "{top}"},
         0,
         {"Copy Bin Edit.avb"},
         {},
         {"{target}/a.omf"}},
    };
}

class HostileCliTest : public ::testing::TestWithParam<CliCase> {
protected:
    // Runs the case on a fresh scene; checks what must hold whichever way the program ran.
    CliOutcome Run(const std::function<CliOutcome(const std::vector<std::string>&)>& cli) {
        const CliCase& c = GetParam();
        HostileScene scene;
        c.setup(scene);
        const auto before = scene.OutsideTheMediaFolder();
        std::vector<std::string> args;
        for (const auto& arg : c.args) args.push_back(scene.Expand(arg));

        CliOutcome outcome = cli(args);

        EXPECT_EQ(outcome.status, c.status) << ::testing::PrintToString(outcome.lines);
        EXPECT_EQ(outcome.err, "");
        for (const auto& text : c.said) {
            EXPECT_THAT(outcome.lines, Contains(HasSubstr(scene.Expand(text))))
                << ::testing::PrintToString(outcome.lines);
        }
        // One record a line: a name's line end never starts a line of its own.
        for (const auto& line : outcome.lines) {
            const std::string tag = line.substr(0, line.find('\t'));
            EXPECT_THAT((std::vector<std::string>{"volume", "project", "sifted", "file", "log",
                                                  "message", "bin"}),
                        Contains(tag))
                << line;
        }
        EXPECT_EQ(scene.OutsideTheMediaFolder(), before) << "something changed outside";
        for (const auto& path : c.present) {
            EXPECT_TRUE(fixtures::PathExists(scene.Expand(path))) << scene.Expand(path);
        }
        for (const auto& path : c.absent) {
            EXPECT_FALSE(fixtures::PathExists(scene.Expand(path))) << scene.Expand(path);
        }
        EXPECT_THAT(fixtures::FindTemporaries({scene.temp.path()}), IsEmpty());
        // The temp folder differs from run to run, and so do the date stamps.
        for (auto& line : outcome.lines) {
            for (size_t at; (at = line.find(scene.temp.path())) != std::string::npos;) {
                line.replace(at, scene.temp.path().size(), "{temp}");
            }
        }
        outcome.lines = WithoutStamps(outcome.lines);
        return outcome;
    }
};

TEST_P(HostileCliTest, ClearWordsAndNothingChangedOutside) {
    const CliOutcome inProcess = Run(InProcess);
    if (GetParam().alsoBuiltProgram) {
        SCOPED_TRACE("the built program");
        const CliOutcome built = Run(BuiltProgram);
        EXPECT_EQ(built.lines, inProcess.lines);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileCliTest, ::testing::ValuesIn(CliCases()),
                         [](const ::testing::TestParamInfo<CliCase>& info) {
                             return info.param.name;
                         });

// --- Unreadable and read-only places, through a file system that refuses them
//
// mactarnwick-cli reads the machine's file system, so these cases make the calls it makes,
// on the same core objects, through a file system that breaks some of them, and print what
// it would print.

struct FsCase {
    std::string name;
    std::function<void(HostileScene&)> setup;
    // Breaks the file system before the scan: unreadable things matter from the start.
    std::function<void(const HostileScene&, fixtures::ScriptedFileSystem&)> arm;
    std::string command;  // "scan", "sift-volume", "sift-project", "unsift-project",
                          // "copy-project", "copy-bin"
    Bytes operand;        // a project name, or the bin
    std::vector<std::string> said;
    std::vector<std::string> present;
    std::vector<std::string> absent;
    bool volumeUnchanged = false;
};

void PrintTo(const FsCase& c, std::ostream* os) { *os << c.name; }

// What mactarnwick-cli does for the command on one volume, through fs.
std::vector<std::string> RunThrough(FileSystem& fs, const HostileScene& scene, const FsCase& c) {
    fixtures::HookRecorder hooks;
    std::vector<std::string> lines;
    std::vector<TarnwickerPtr> folders{
        std::make_shared<Tarnwicker>(FolderItem::Volume(scene.top, fs), false)};
    ProjectLists lists =
        BuildProjects(ReadVolumeCatalogues(folders, false, nullptr), folders, nullptr);
    for (const auto& folder : folders) lines.push_back("volume\t" + CliField(folder->DumpStatus()));
    for (const auto& project : lists.projects)
        lines.push_back("project\t" + CliField(project->DumpStatus()));
    for (const auto& project : lists.siftedProjects)
        lines.push_back("sifted\t" + CliField(project->DumpStatus()));

    const Worker* logged = nullptr;
    auto find = [&](const std::vector<ProjectPtr>& list) -> ProjectPtr {
        for (const auto& project : list) {
            if (project->projectname == c.operand) return project;
        }
        ShowMessageBox("No Project selected");
        return nullptr;
    };
    auto bin = std::make_shared<BinClass>();
    if (c.command == "sift-volume") {
        folders[0]->Sift();
        logged = folders[0].get();
    } else if (c.command == "sift-project" || c.command == "copy-project") {
        if (ProjectPtr project = find(lists.projects)) {
            if (c.command == "sift-project") {
                project->SiftProject();
            } else {
                project->CopyProject(FolderItem::OnItsVolume(scene.target, fs));
            }
            logged = project.get();
        }
    } else if (c.command == "unsift-project") {
        if (ProjectPtr project = find(lists.siftedProjects)) {
            project->UnsiftProject();
            logged = project.get();
        }
    } else if (c.command == "copy-bin") {
        bin->file = FolderItem::OnItsVolume(scene.bins + "/" + c.operand, fs);
        for (const auto& folder : folders) bin->AddMediaFiles(folder->GetFilesForProject(""));
        lines.push_back("bin\t" + CliField(bin->DumpStatus()));
        bin->CopyBin(FolderItem::OnItsVolume(scene.target, fs));
        logged = bin.get();
    }
    for (const auto& message : hooks.messages) lines.push_back("message\t" + CliField(message));
    if (logged) {
        for (const auto& line : logged->loglines) lines.push_back("log\t" + CliField(line));
    }
    return lines;
}

// A volume with a.omf and b.omf of project P in the database, s.omf already in P_sifted.
void VolumeWithASiftedFile(HostileScene& s) {
    s.MediaFolder({{"a.omf", "P"}, {"b.omf", "P"}},
                  {HostileScene::Record("a.omf", "P", 1), HostileScene::Record("b.omf", "P", 2)});
    fixtures::MakeFolder(s.media + "/P_sifted");
    fixtures::WriteFileBytes(s.media + "/P_sifted/s.omf",
                             fixtures::GeneratedMediaBytes("P", 400, 9));
    fixtures::WriteBin(s.bins + "/Edit.avb", {fixtures::MobId(1), fixtures::MobId(2)});
}

fixtures::ScriptedFileSystem::Script Refuse(const std::string& op, const std::string& path,
                                            int errnum = EACCES) {
    return [op, path,
            errnum](const fixtures::ScriptedFileSystem::Call& call) -> std::optional<FileError> {
        if (call.op == op && call.path == path) return ErrorFromSystem(errnum);
        return std::nullopt;
    };
}

std::vector<FsCase> FsCases() {
    auto readOnly = [](const HostileScene& s, fixtures::ScriptedFileSystem& fs) {
        fs.SetScript(fixtures::ReadOnlyBelow(s.top));
    };
    return {
        {"UnreadableDatabase",
         VolumeWithASiftedFile,
         [](const HostileScene& s, auto& fs) {
             fs.SetScript(Refuse("OpenRead", s.media + "/msmFMID.pmr"));
         },
         "sift-volume",
         "",
         {"volume\tVol - 0 Files - - cannot read database", "Sift Volume Vol"},
         {"{media}/a.omf", "{media}/b.omf"},
         {},
         true},
        {"UnreadableMediaFile",
         VolumeWithASiftedFile,
         [](const HostileScene& s, auto& fs) {
             fs.SetScript(Refuse("OpenRead", s.media + "/a.omf"));
         },
         "copy-project",
         "P",
         {"message\tThere were some errors. See the log tab.",
          "log\tError 102: Access denied. {media}/a.omf"},
         {"{target}/b.omf"},
         {"{target}/a.omf"}},
        {"UnreadableSiftedFolder",
         VolumeWithASiftedFile,
         [](const HostileScene& s, auto& fs) {
             fs.SetScript(Refuse("List", s.media + "/P_sifted"));
         },
         "unsift-project",
         "P[P_sifted]",
         {"message\tNo Project selected"},
         {"{media}/P_sifted/s.omf"},
         {"{media}/s.omf"},
         true},
        {"UnreadableMediaFolder",
         VolumeWithASiftedFile,
         [](const HostileScene& s, auto& fs) { fs.SetScript(Refuse("List", s.media)); },
         "scan",
         "",
         {"volume\tVol - 2 Files 1 KB - database not up to date", "project\tP - 2 Files 1 KB"},
         {},
         {},
         true},
        {"UnreadableBin",
         VolumeWithASiftedFile,
         [](const HostileScene& s, auto& fs) {
             fs.SetScript(Refuse("OpenRead", s.bins + "/Edit.avb"));
         },
         "copy-bin",
         "Edit.avb",
         {"bin\tEdit.avb - 0 Files -", "Copy Bin Edit.avb"},
         {},
         {"{target}/a.omf"},
         true},
        {"ReadOnlyMediaFolderInAVolumeSift",
         VolumeWithASiftedFile,
         readOnly,
         "sift-volume",
         "",
         {"message\tThere were some errors. See the log tab.",
          "log\tError 102: Access denied. {media}/a.omf",
          "log\tError 102: Access denied. {media}/b.omf"},
         {"{media}/a.omf", "{media}/b.omf"},
         {},
         true},
        {"ReadOnlyMediaFolderInAProjectSift",
         VolumeWithASiftedFile,
         readOnly,
         "sift-project",
         "P",
         {"message\tThere were some errors. See the log tab.",
          "log\tError 102: Access denied. {media}/a.omf",
          "log\tError 102: Access denied. {media}/b.omf"},
         {"{media}/a.omf", "{media}/b.omf"},
         {},
         true},
        {"ReadOnlyMediaFolderInAnUnsift",
         VolumeWithASiftedFile,
         readOnly,
         "unsift-project",
         "P[P_sifted]",
         {"message\tThere were some errors. See the log tab.",
          "log\tError 102: Access denied. {media}/P_sifted/s.omf"},
         {"{media}/P_sifted/s.omf"},
         {"{media}/s.omf"},
         true},
        {"ReadOnlyMediaFolderCopiedElsewhere",
         VolumeWithASiftedFile,
         readOnly,
         "copy-project",
         "P",
         {"Copy Project P to {target}"},
         {"{target}/a.omf", "{target}/b.omf"},
         {},
         true},
    };
}

class HostileFileSystemTest : public ::testing::TestWithParam<FsCase> {};

TEST_P(HostileFileSystemTest, ClearWordsAndNothingChangedOutside) {
    const FsCase& c = GetParam();
    HostileScene scene;
    c.setup(scene);
    const auto outside = scene.OutsideTheMediaFolder();
    const auto volume = fixtures::SnapshotWithLinks(scene.top);
    fixtures::ScriptedFileSystem fs(RealFileSystem());
    c.arm(scene, fs);

    const std::vector<std::string> lines = RunThrough(fs, scene, c);

    for (const auto& text : c.said) {
        EXPECT_THAT(lines, Contains(HasSubstr(scene.Expand(text))))
            << ::testing::PrintToString(lines);
    }
    EXPECT_EQ(scene.OutsideTheMediaFolder(), outside) << "something changed outside";
    if (c.volumeUnchanged) {
        EXPECT_EQ(fixtures::SnapshotWithLinks(scene.top), volume) << "the volume changed";
    }
    for (const auto& path : c.present) {
        EXPECT_TRUE(fixtures::PathExists(scene.Expand(path))) << scene.Expand(path);
    }
    for (const auto& path : c.absent) {
        EXPECT_FALSE(fixtures::PathExists(scene.Expand(path))) << scene.Expand(path);
    }
    EXPECT_THAT(fixtures::FindTemporaries({scene.temp.path()}), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileFileSystemTest, ::testing::ValuesIn(FsCases()),
                         [](const ::testing::TestParamInfo<FsCase>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace mt
