// mactarnwick-cli from end to end: a generated volume scanned, sifted, unsifted and copied
// through the commands, checking what is printed and what happens on disk.

#include "cli/cli.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include <sys/wait.h>

#include <gtest/gtest.h>

#include "catalogue/worker.h"
#include "fixtures/database_builders.h"
#include "fixtures/fake_window.h"
#include "fixtures/media_files.h"
#include "fixtures/program_run.h"
#include "fixtures/temp_folder.h"
#include "fixtures/volume_builder.h"
#include "platform/date_text.h"
#include "platform/folder_item.h"

namespace mt {
namespace {

using namespace fixtures;

struct CliRun {
    int status = -1;
    std::vector<std::string> lines;  // of the standard output
    std::string err;
};

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells;
    size_t start = 0;
    while (true) {
        size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return cells;
        start = tab + 1;
    }
}

CliRun Cli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CliRun run;
    run.status = RunCli(args, out, err);
    run.lines = SplitLines(out.str());
    run.err = err.str();
    return run;
}

// The lines of one kind ("volume", "project", ...), without the kind.
std::vector<std::string> Kind(const CliRun& run, const std::string& kind) {
    std::vector<std::string> out;
    for (const auto& line : run.lines) {
        if (line.rfind(kind + "\t", 0) == 0) out.push_back(line.substr(kind.size() + 1));
    }
    return out;
}

// The "log" lines with the date stamps of the header and end lines taken off.
std::vector<std::string> Log(const CliRun& run) {
    std::vector<std::string> lines = Kind(run, "log");
    for (auto& line : lines) {
        if (HasStamp(line)) line = line.substr(19);
    }
    return lines;
}

std::string SizeOf(const std::vector<std::string>& paths) {
    double total = 0;
    for (const auto& p : paths) total += static_cast<double>(std::filesystem::file_size(p));
    return Worker::MegaString(total);
}

// A volume "Media" with a database of two projects, and a bin using one file of each.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        volume = BuildVolume(temp.path(), "Media",
                             {{"Spot30-01.omf", "Spot30"},
                              {"Spot30-02.omf", "Spot30"},
                              {"Trailer-01.omf", "Trailer"}});
        // Editing systems keep a second index beside the database.
        WriteFileBytes(volume.MediaPath("msmMMOB.mdb"), "index");
        bin = temp.Path("Scene 12.avb");
        WriteBin(bin, {volume.mobIds[0], volume.mobIds[2]});
        a = volume.MediaPath("Spot30-01.omf");
        b = volume.MediaPath("Spot30-02.omf");
        c = volume.MediaPath("Trailer-01.omf");
    }

    std::string DateOf(const std::string& path) {
        auto date = FolderItem(path, volume.top, RealFileSystem()).CreationDate();
        return date ? ShortDateTimeText(*date) : std::string();
    }

    std::string FileLine(const std::string& project, const std::string& path,
                         const std::string& source, const std::string& online) {
        return "Media\t" + project + "\t" + LastComponent(path) + "\t" + DateOf(path) + "\t" +
               SizeOf({path}) + "\t" + source + "\t" + online;
    }

    TempFolder temp;
    TestVolume volume;
    std::string bin, a, b, c;
};

TEST_F(CliTest, ScanListsFoldersProjectsAndFiles) {
    CliRun run = Cli({"scan", volume.top});

    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Kind(run, "volume"),
              std::vector<std::string>{"Media - 3 Files " + SizeOf({a, b, c})});
    EXPECT_EQ(Kind(run, "project"), (std::vector<std::string>{"Spot30 - 2 Files " + SizeOf({a, b}),
                                                              "Trailer - 1 Files " + SizeOf({c})}));
    EXPECT_EQ(Kind(run, "sifted"), std::vector<std::string>{});
    EXPECT_EQ(Kind(run, "file"), (std::vector<std::string>{FileLine("Spot30", a, "D", "X"),
                                                           FileLine("Spot30", b, "D", "X"),
                                                           FileLine("Trailer", c, "D", "X")}));
    for (const auto& line : Kind(run, "file")) EXPECT_EQ(Cells(line).size(), 7u) << line;
    EXPECT_EQ(run.lines.size(), 1u + 2u + 3u);
}

TEST_F(CliTest, SiftScanUnsiftCopyAndCopyBin) {
    const auto sumsBefore = ContentChecksums(SnapshotTree(volume.top));
    const auto listingBefore = ListFolder(volume.media);

    CliRun sift = Cli({"sift-project", "Spot30", volume.top});
    EXPECT_EQ(sift.status, 0);
    EXPECT_EQ(Log(sift), (std::vector<std::string>{" Sift Project Spot30", " end "}));
    EXPECT_EQ(sift.lines.size(), 2u);
    EXPECT_EQ(ListFolder(volume.MediaPath("Spot30_sifted")),
              (std::vector<std::string>{"Spot30-01.omf", "Spot30-02.omf"}));
    const std::string a2 = volume.MediaPath("Spot30_sifted/Spot30-01.omf");
    const std::string b2 = volume.MediaPath("Spot30_sifted/Spot30-02.omf");

    CliRun scan = Cli({"scan", volume.top});
    EXPECT_EQ(
        Kind(scan, "volume"),
        std::vector<std::string>{"Media - 3 Files " + SizeOf({c, a2, b2}) + " - files missing"});
    // The stale database still names Spot30; its files are gone from where it says.
    EXPECT_EQ(Kind(scan, "project"),
              (std::vector<std::string>{"Spot30 - 0 Files -", "Trailer - 1 Files " + SizeOf({c})}));
    EXPECT_EQ(Kind(scan, "sifted"),
              std::vector<std::string>{"Spot30[Spot30_sifted] - 2 Files " + SizeOf({a2, b2})});

    CliRun unsift = Cli({"unsift-project", "Spot30[Spot30_sifted]", volume.top});
    EXPECT_EQ(unsift.status, 0);
    EXPECT_EQ(Log(unsift),
              (std::vector<std::string>{" Unsift Project Spot30[Spot30_sifted]", " end "}));
    EXPECT_TRUE(ListFolder(volume.MediaPath("Spot30_sifted")).empty());
    EXPECT_EQ(ContentChecksums(SnapshotTree(volume.top)), sumsBefore);

    const std::string target = temp.Path("Delivery");
    CliRun copy = Cli({"copy-project", "trailer", target, volume.top});
    EXPECT_EQ(copy.status, 0);
    EXPECT_EQ(Log(copy), (std::vector<std::string>{" Copy Project Trailer to " + target, " end "}));
    EXPECT_EQ(ListFolder(target), std::vector<std::string>{"Trailer-01.omf"});
    EXPECT_EQ(Checksum(target + "/Trailer-01.omf"), Checksum(c));

    CliRun listBin = Cli({"bin", bin, volume.top});
    EXPECT_EQ(listBin.status, 0);
    EXPECT_EQ(listBin.lines,
              (std::vector<std::string>{"bin\tScene 12.avb - 2 Files " + SizeOf({a, c}),
                                        "file\tSpot30-01.omf", "file\tTrailer-01.omf"}));

    const std::string cut = temp.Path("Cut");
    CliRun copyBin = Cli({"copy-bin", bin, cut, volume.top});
    EXPECT_EQ(copyBin.status, 0);
    EXPECT_EQ(Log(copyBin), (std::vector<std::string>{" Copy Bin Scene 12.avb", " end "}));
    EXPECT_EQ(ListFolder(cut), (std::vector<std::string>{"Spot30-01.omf", "Trailer-01.omf"}));
    EXPECT_EQ(Checksum(cut + "/Spot30-01.omf"), Checksum(a));

    // Copying the bin again finds both files there: two error lines, one message, status 1.
    CliRun again = Cli({"copy-bin", bin, cut, volume.top});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(Log(again), (std::vector<std::string>{
                              " Copy Bin Scene 12.avb", "File exists already on destination " + a,
                              "File exists already on destination " + c, " end "}));
    EXPECT_EQ(Kind(again, "message"),
              std::vector<std::string>{"There were some errors. See the log tab."});

    // Nothing lost, duplicated or changed on the volume; only the sifted folder is new.
    EXPECT_EQ(ContentChecksums(SnapshotTree(volume.top)), sumsBefore);
    std::vector<std::string> listing = listingBefore;
    listing.push_back("Spot30_sifted");
    std::sort(listing.begin(), listing.end());
    EXPECT_EQ(ListFolder(volume.media), listing);
}

TEST_F(CliTest, SiftVolumeSiftsEveryProject) {
    CliRun run = Cli({"sift-volume", volume.top});

    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(Log(run), (std::vector<std::string>{" Sift Volume Media", " end "}));
    EXPECT_EQ(ListFolder(volume.MediaPath("Spot30_sifted")),
              (std::vector<std::string>{"Spot30-01.omf", "Spot30-02.omf"}));
    EXPECT_EQ(ListFolder(volume.MediaPath("Trailer_sifted")),
              std::vector<std::string>{"Trailer-01.omf"});
}

TEST_F(CliTest, AddedFolderIsListedByItsPath) {
    const std::string cuts = MakeFolder(temp.Path("Cuts"));
    WriteMediaFile(cuts + "/x.omf", "Promo", 100);

    CliRun run = Cli({"scan", "--folder", cuts, volume.top});

    const auto volumes = Kind(run, "volume");
    ASSERT_EQ(volumes.size(), 2u);
    EXPECT_EQ(volumes[0].substr(0, 6), "Media ");
    EXPECT_EQ(volumes[1],
              cuts + " - 0 Files " + SizeOf({cuts + "/x.omf"}) + " - no Media Database");
    EXPECT_NE(std::find(run.lines.begin(), run.lines.end(),
                        "project\tPromo[Cuts] - 1 Files " + SizeOf({cuts + "/x.omf"})),
              run.lines.end());
}

TEST_F(CliTest, FailuresEndWithStatusOne) {
    CliRun unknown = Cli({"sift-project", "Nope", volume.top});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.lines, std::vector<std::string>{"message\tNo Project selected"});

    // A sifted project is not in the list that sift takes from.
    Cli({"sift-project", "Spot30", volume.top});
    CliRun notThere = Cli({"sift-project", "Spot30[Spot30_sifted]", volume.top});
    EXPECT_EQ(notThere.status, 1);

    WriteFileBytes(volume.MediaPath("Trailer_sifted"), "in the way");
    CliRun blocked = Cli({"sift-volume", volume.top});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_EQ(Kind(blocked, "message"),
              std::vector<std::string>{"There is already a file with the project name"});
    EXPECT_TRUE(PathExists(c));
}

TEST_F(CliTest, TabsAndLineEndsInNamesAreEscaped) {
    TestVolume odd = BuildVolume(temp.path(), "Odd", {{"a\tb.omf", "P\nQ"}});

    CliRun run = Cli({"scan", odd.top});

    const auto projects = Kind(run, "project");
    ASSERT_FALSE(projects.empty());
    EXPECT_EQ(projects[0].substr(0, 6), "P\\nQ -");
    const auto files = Kind(run, "file");
    ASSERT_EQ(files.size(), 1u);
    for (const auto& line : files) {
        const auto cells = Cells(line);
        ASSERT_EQ(cells.size(), 7u) << line;
        EXPECT_EQ(cells[2], "a\\tb.omf");
    }
    EXPECT_EQ(Cells(files[0])[1], "P\\nQ");
    EXPECT_EQ(CliField("a\tb\nc\rd"), "a\\tb\\nc\\rd");
}

struct UsageCase {
    const char* label;
    std::vector<std::string> args;  // "{volume}" stands for the volume
    const char* problem;            // in the error text; empty: the usage alone
};

class CliUsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsageTest, BadUsageGivesStatusTwoAndTheUsage) {
    TempFolder temp;
    const std::string top = MakeVolume(temp.path(), "Media");
    std::vector<std::string> args = GetParam().args;
    for (auto& arg : args) {
        if (arg == "{volume}") arg = top;
    }

    CliRun run = Cli(args);

    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.lines.empty());
    EXPECT_NE(run.err.find("usage: mactarnwick-cli"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(GetParam().problem), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Usage, CliUsageTest,
    ::testing::Values(UsageCase{"NoArguments", {}, ""},
                      UsageCase{"UnknownCommand", {"frobnicate", "{volume}"}, "unknown command"},
                      UsageCase{"MissingName", {"sift-project"}, "needs 1 argument"},
                      UsageCase{"MissingTarget", {"copy-bin", "x.avb"}, "needs 2 argument"},
                      UsageCase{"NoFolders", {"scan"}, "no volume or folder"},
                      UsageCase{"NoFoldersAfterOperands",
                                {"copy-project", "Spot30", "{volume}"},
                                "no volume or folder"},
                      UsageCase{"FolderOptionWithoutFolder", {"scan", "--folder"}, "--folder"},
                      UsageCase{
                          "UnknownOption", {"scan", "--verbose", "{volume}"}, "unknown option"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(CliHelpTest, VersionIsTheProjectVersion) {
    CliRun run = Cli({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.lines, std::vector<std::string>{"mactarnwick-cli " MT_PROJECT_VERSION});
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(CliVersion(), MT_PROJECT_VERSION);
}

TEST(CliHelpTest, HelpGoesToStandardOutput) {
    CliRun run = Cli({"--help"});
    EXPECT_EQ(run.status, 0);
    ASSERT_FALSE(run.lines.empty());
    EXPECT_EQ(run.lines[0].rfind("usage: mactarnwick-cli", 0), 0u);
    EXPECT_EQ(run.err, "");
}

#ifdef MT_CLI_PATH
// The built program prints what the in-process run prints and exits with its status.
TEST_F(CliTest, BuiltProgramBehavesTheSame) {
    const std::string out = temp.Path("out.txt");
    const std::string err = temp.Path("err.txt");
    auto shell = [&](const std::string& arguments) {
        const std::string command =
            std::string("'") + MT_CLI_PATH + "' " + arguments + " >'" + out + "' 2>'" + err + "'";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };

    EXPECT_EQ(shell("scan '" + volume.top + "'"), 0);
    CliRun inProcess = Cli({"scan", volume.top});
    EXPECT_EQ(SplitLines(*ReadFileBytes(out)), inProcess.lines);
    EXPECT_EQ(*ReadFileBytes(err), "");

    EXPECT_EQ(shell(""), 2);
    EXPECT_EQ(*ReadFileBytes(out), "");
    EXPECT_NE(ReadFileBytes(err)->find("usage: mactarnwick-cli"), std::string::npos);

    EXPECT_EQ(shell("sift-project Nope '" + volume.top + "'"), 1);
    EXPECT_EQ(*ReadFileBytes(out), "message\tNo Project selected\n");
}

// What editors see of a volume through the built program: each file once, at the volume's
// true size; every project of a media folder without a database; sifted folders named after
// the projects, the same with and without a database.
class BuiltCliScanTest : public ::testing::Test {
protected:
    CliRun Built(const std::vector<std::string>& args) {
        ProgramRun run = RunProgram(MT_CLI_PATH, args);
        return {run.status, TextLines(run.out), run.err};
    }
    // Four projects, one file of no project; with a database, one file it does not list.
    TestVolume Make(const std::string& name, bool withDatabase) {
        TestVolume volume = BuildVolume(temp.path(), name,
                                        {{"S1.omf", "Spot30"},
                                         {"T1.omf", "Trailer"},
                                         {"S2.omf", "Spot30"},
                                         {"P1.omf", "Promo"},
                                         {"N1.omf", ""},
                                         {"R1.omf", "Radio"}},
                                        withDatabase);
        WriteMediaFile(volume.MediaPath("Late.omf"), "Promo", 500);
        return volume;
    }
    std::vector<std::string> MediaPaths(const TestVolume& volume) {
        std::vector<std::string> paths;
        for (const char* name :
             {"S1.omf", "T1.omf", "S2.omf", "P1.omf", "N1.omf", "R1.omf", "Late.omf"}) {
            paths.push_back(volume.MediaPath(name));
        }
        return paths;
    }
    TempFolder temp;
};

TEST_F(BuiltCliScanTest, ScanWithDatabaseListsEachFileOnceAtTheTrueSize) {
    TestVolume volume = Make("Media", true);
    WriteFileBytes(volume.MediaPath("msmMMOB.mdb"), "index");

    CliRun run = Built({"scan", volume.top});

    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Kind(run, "volume"),
              std::vector<std::string>{"Media - 6 Files " + SizeOf(MediaPaths(volume))});
    std::map<std::string, int> seen;
    for (const auto& line : Kind(run, "file")) ++seen[Cells(line)[2]];
    EXPECT_EQ(seen.size(), 7u);
    for (const auto& [name, times] : seen) EXPECT_EQ(times, 1) << name;
    EXPECT_EQ(
        Kind(run, "project"),
        (std::vector<std::string>{
            " - 1 Files " + SizeOf({volume.MediaPath("N1.omf")}),
            "Promo - 1 Files " + SizeOf({volume.MediaPath("P1.omf")}),
            "Promo[OMFI MediaFiles] - 1 Files " + SizeOf({volume.MediaPath("Late.omf")}),
            "Radio - 1 Files " + SizeOf({volume.MediaPath("R1.omf")}),
            "Spot30 - 2 Files " + SizeOf({volume.MediaPath("S1.omf"), volume.MediaPath("S2.omf")}),
            "Trailer - 1 Files " + SizeOf({volume.MediaPath("T1.omf")})}));
}

TEST_F(BuiltCliScanTest, ScanWithoutDatabaseListsEveryProject) {
    TestVolume volume = Make("Media", false);

    CliRun run = Built({"scan", volume.top});

    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Kind(run, "volume"),
              std::vector<std::string>{"Media - 0 Files " + SizeOf(MediaPaths(volume)) +
                                       " - no Media Database"});
    EXPECT_EQ(Kind(run, "project"),
              (std::vector<std::string>{
                  "[OMFI MediaFiles] - 1 Files " + SizeOf({volume.MediaPath("N1.omf")}),
                  "Promo[OMFI MediaFiles] - 2 Files " +
                      SizeOf({volume.MediaPath("P1.omf"), volume.MediaPath("Late.omf")}),
                  "Radio[OMFI MediaFiles] - 1 Files " + SizeOf({volume.MediaPath("R1.omf")}),
                  "Spot30[OMFI MediaFiles] - 2 Files " +
                      SizeOf({volume.MediaPath("S1.omf"), volume.MediaPath("S2.omf")}),
                  "Trailer[OMFI MediaFiles] - 1 Files " + SizeOf({volume.MediaPath("T1.omf")})}));
    EXPECT_EQ(Kind(run, "file").size(), 7u);
}

TEST_F(BuiltCliScanTest, SiftVolumeGivesTheSameFoldersWithAndWithoutDatabase) {
    const std::vector<std::string> expected = {"Promo_sifted/",
                                               "Promo_sifted/Late.omf",
                                               "Promo_sifted/P1.omf",
                                               "Radio_sifted/",
                                               "Radio_sifted/R1.omf",
                                               "Spot30_sifted/",
                                               "Spot30_sifted/S1.omf",
                                               "Spot30_sifted/S2.omf",
                                               "Trailer_sifted/",
                                               "Trailer_sifted/T1.omf",
                                               "_sifted/",
                                               "_sifted/N1.omf"};
    for (bool withDatabase : {true, false}) {
        SCOPED_TRACE(withDatabase ? "with database" : "without database");
        TestVolume volume = Make(withDatabase ? "With" : "Without", withDatabase);

        CliRun sift = Built({"sift-volume", volume.top});

        EXPECT_EQ(sift.status, 0) << ::testing::PrintToString(sift.lines);
        EXPECT_EQ(Kind(sift, "message"), std::vector<std::string>{});
        std::vector<std::string> tree = ListTree(volume.media);
        std::erase(tree, "msmFMID.pmr");
        EXPECT_EQ(tree, expected);

        // Scanned again, the sifted folders list their projects.
        CliRun scan = Built({"scan", volume.top});
        const auto sifted = Kind(scan, "sifted");
        ASSERT_EQ(sifted.size(), 5u) << ::testing::PrintToString(sifted);
        EXPECT_EQ(sifted[1].rfind("Promo[Promo_sifted] - 2 Files ", 0), 0u) << sifted[1];
    }
}
#endif

}  // namespace
}  // namespace mt
