// A long run of the built mactarnwick-cli over a volume of 5,000 media files in 20 projects,
// with a big-endian database and two bins: cycle after cycle of sifting a few projects,
// scanning, unsifting them back, copying a project and copying a bin, each to a fresh
// folder. After every cycle each original lies exactly once at its place with its bytes and
// its sidecar, each copy equals its original, every command exited with 0 and no temporary
// is left anywhere.

#include <chrono>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fixtures/generated_volume.h"
#include "fixtures/media_files.h"
#include "fixtures/media_ledger.h"
#include "fixtures/program_run.h"
#include "fixtures/temp_folder.h"

namespace mt {
namespace {

using ::testing::Contains;
using ::testing::IsEmpty;
using Clock = std::chrono::steady_clock;

constexpr int kProjects = 20;
constexpr int kFilesPerProject = 250;
// Seven cycles sift and unsift every project at least once; they take about 50 s on two
// cores (the test prints its timing): each sift and unsift scans the volumes again after it.
constexpr int kCycles = 7;
constexpr int kSiftedPerCycle = 3;

std::string ProjectName(int p) {
    char name[8];
    std::snprintf(name, sizeof name, "P%02d", p);
    return name;
}

std::string FileName(int p, int f) {
    char name[32];
    std::snprintf(name, sizeof name, "P%02d_F%04d.omf", p, f);
    return name;
}

class SoakTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<fixtures::GeneratedFile> files;
        for (int f = 0; f < kFilesPerProject; ++f) {
            // Projects interleaved in the database, as an editing system writes them.
            for (int p = 0; p < kProjects; ++p) {
                fixtures::GeneratedFile file;
                file.name = FileName(p, f);
                file.project = ProjectName(p);
                file.payload = 300 + static_cast<size_t>((p * 37 + f * 11) % 700);
                file.sidecar = f % 10 == 3;
                files.push_back(file);
            }
        }
        volume = fixtures::GenerateVolume(temp.path(), "Soak", files);
        // Bin A: every 25th file of the volume; bin B: the odd files of two projects.
        std::vector<Bytes> a, b;
        for (size_t i = 0; i < files.size(); i += 25) a.push_back(files[i].name);
        for (int f = 1; f < kFilesPerProject; f += 2) {
            b.push_back(FileName(3, f));
            b.push_back(FileName(11, f));
        }
        fixtures::MakeFolder(temp.Path("Bins"));
        fixtures::WriteBinUsing(temp.Path("Bins/A.avb"), volume, a, 3);
        fixtures::WriteBinUsing(temp.Path("Bins/B.avb"), volume, b, 5);
        bins = {{temp.Path("Bins/A.avb"), {a.begin(), a.end()}},
                {temp.Path("Bins/B.avb"), {b.begin(), b.end()}}};
        ledger.RecordTree(volume.media);
    }

    // Runs the built program; expects exit status 0 and no error in its log.
    std::vector<std::string> Cli(const std::vector<std::string>& args) {
        const auto start = Clock::now();
        fixtures::ProgramRun run = fixtures::RunProgram(MT_CLI_PATH, args);
        cliTime += Clock::now() - start;
        ++cliRuns;
        const std::vector<std::string> lines = fixtures::TextLines(run.out);
        EXPECT_EQ(run.status, 0) << ::testing::PrintToString(args) << "\n" << run.out;
        EXPECT_EQ(run.err, "");
        for (const auto& line : lines) {
            EXPECT_EQ(line.rfind("message\t", 0), std::string::npos) << line;
        }
        return lines;
    }

    // The log lines of a command that worked: the header and the end line, nothing between.
    static size_t LogLines(const std::vector<std::string>& lines) {
        size_t count = 0;
        for (const auto& line : lines) count += line.rfind("log\t", 0) == 0;
        return count;
    }

    // Each original at its place with its bytes and sidecar, once on the volume.
    void ExpectVolumeIntact(const std::string& when) {
        SCOPED_TRACE(when);
        EXPECT_THAT(ledger.CheckEachOnce({volume.top}), IsEmpty());
        for (const auto& entry : ledger.entries()) {
            if (!fixtures::PathExists(entry.path))
                ADD_FAILURE() << entry.path << " not back in place";
        }
    }

    // The copies are the originals' bytes and sidecars, and the folder holds exactly the
    // files expected.
    void ExpectCopies(const std::string& folder, const std::set<std::string>& names) {
        SCOPED_TRACE(folder);
        EXPECT_THAT(ledger.CheckCopies(folder), IsEmpty());
        std::set<std::string> copied;
        for (const auto& name : fixtures::ListFolder(folder)) {
            if (name.rfind("._", 0) != 0) copied.insert(name);
        }
        EXPECT_EQ(copied, names);
    }

    fixtures::TempFolder temp;
    fixtures::GeneratedVolume volume;
    fixtures::MediaLedger ledger;
    std::vector<std::pair<std::string, std::set<std::string>>> bins;
    Clock::duration cliTime{};
    int cliRuns = 0;
};

TEST_F(SoakTest, CyclesOfSiftScanUnsiftAndCopiesKeepEveryFile) {
    const auto start = Clock::now();
    ASSERT_EQ(ledger.entries().size(), static_cast<size_t>(kProjects * kFilesPerProject + 1))
        << "the media files and the database";
    const auto scan = Cli({"scan", volume.top});
    ASSERT_THAT(scan, Contains("volume\tSoak - 5000 Files 4 MB"));

    for (int cycle = 0; cycle < kCycles; ++cycle) {
        SCOPED_TRACE("cycle " + std::to_string(cycle));
        std::vector<std::string> sifted;
        for (int k = 0; k < kSiftedPerCycle; ++k) {
            sifted.push_back(ProjectName((cycle * kSiftedPerCycle + k) % kProjects));
        }

        for (const auto& project : sifted) {
            EXPECT_EQ(LogLines(Cli({"sift-project", project, volume.top})), 2u) << project;
        }
        const auto lines = Cli({"scan", volume.top});
        for (const auto& project : sifted) {
            const std::string folder = volume.media + "/" + project + "_sifted";
            EXPECT_EQ(fixtures::ListFolder(folder).size(),
                      kFilesPerProject + kFilesPerProject / 10u)
                << "the files and their sidecars in " << folder;
            EXPECT_THAT(lines, Contains(::testing::StartsWith("sifted\t" + project + "[" + project +
                                                              "_sifted] - 250 Files ")));
        }
        for (const auto& project : sifted) {
            EXPECT_EQ(
                LogLines(Cli({"unsift-project", project + "[" + project + "_sifted]", volume.top})),
                2u)
                << project;
        }
        ExpectVolumeIntact("after the unsift");

        const std::string copied = ProjectName((cycle * 7 + 5) % kProjects);
        const std::string projectTarget =
            temp.Path("Copies/" + std::to_string(cycle) + "-" + copied);
        fixtures::MakeFolder(temp.Path("Copies"));
        EXPECT_EQ(LogLines(Cli({"copy-project", copied, projectTarget, volume.top})), 2u);
        std::set<std::string> names;
        for (int f = 0; f < kFilesPerProject; ++f)
            names.insert(FileName(std::stoi(copied.substr(1)), f));
        ExpectCopies(projectTarget, names);

        const auto& [bin, binNames] = bins[cycle % bins.size()];
        const std::string binTarget = temp.Path("Copies/" + std::to_string(cycle) + "-bin");
        EXPECT_EQ(LogLines(Cli({"copy-bin", bin, binTarget, volume.top})), 2u);
        ExpectCopies(binTarget, binNames);

        ExpectVolumeIntact("at the end of the cycle");
        EXPECT_THAT(fixtures::FindTemporaries({temp.path()}), IsEmpty());
    }

    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double inCli = std::chrono::duration<double>(cliTime).count();
    std::printf(
        "soak: %d cycles, %d runs of mactarnwick-cli, %.1f s in all, %.1f s in the program\n",
        kCycles, cliRuns, seconds, inCli);
    RecordProperty("seconds", std::to_string(seconds));
}

}  // namespace
}  // namespace mt
