// The progress line of mactarnwick-cli: what a terminal shows after each change (the status
// text and the bar's percentage, redrawn in place), cleared at the end; nothing at all when
// standard error is not a terminal.

#include "cli/terminal_progress.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "fixtures/temp_folder.h"
#include "fixtures/volume_builder.h"

namespace mt {
namespace {

// The last line a terminal shows for the output: "\r" goes back to its start and what
// follows overwrites it.
std::string Shown(const std::string& output) {
    std::string line;
    size_t cursor = 0;
    for (char c : output) {
        if (c == '\r') {
            cursor = 0;
            continue;
        }
        if (c == '\n') {
            line.clear();
            cursor = 0;
            continue;
        }
        if (cursor < line.size()) {
            line[cursor] = c;
        } else {
            line += c;
        }
        ++cursor;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

TEST(TerminalProgressTest, TheStatusAndThePercentageAreRedrawnInPlace) {
    std::ostringstream err;
    {
        TerminalProgress progress(err, true);
        progress.SetText("Scanning Volumes");
        EXPECT_EQ(Shown(err.str()), "Scanning Volumes");
        progress.SetValue(0);
        progress.SetVisible(true);
        EXPECT_EQ(Shown(err.str()), "Scanning Volumes 0%");
        progress.SetValue(37);
        EXPECT_EQ(Shown(err.str()), "Scanning Volumes 37%");
        progress.SetText("Sift A.omf");
        EXPECT_EQ(Shown(err.str()), "Sift A.omf 37%");
        progress.SetVisible(false);
        EXPECT_EQ(Shown(err.str()), "Sift A.omf");
        EXPECT_EQ(progress.Text(), "Sift A.omf");
        EXPECT_EQ(progress.Value(), 37);
        EXPECT_EQ(err.str().find('\n'), std::string::npos);
    }
    EXPECT_EQ(Shown(err.str()), "") << "cleared at the end";
}

TEST(TerminalProgressTest, ALongStatusIsCutToOneLine) {
    std::ostringstream err;
    TerminalProgress progress(err, true);
    progress.SetVisible(true);
    progress.SetValue(50);
    // Multi-byte characters count as one each, and are not cut in the middle.
    std::string text = "Copying ";
    for (int i = 0; i < 100; ++i) text += "\xc3\xa9";

    progress.SetText(text + "\tname\n");

    const std::string shown = Shown(err.str());
    EXPECT_EQ(shown.substr(shown.size() - 4), " 50%");
    size_t characters = 0;
    for (char c : shown) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    EXPECT_EQ(characters, TerminalProgress::kWidth);
}

TEST(TerminalProgressTest, NothingIsWrittenWhenItIsNoTerminal) {
    std::ostringstream err;
    {
        TerminalProgress progress(err, false);
        progress.SetText("Scanning Volumes");
        progress.SetVisible(true);
        progress.SetValue(50);
        progress.Clear();
    }
    EXPECT_EQ(err.str(), "");
}

// A whole run: standard error carries the progress of the scan and of the command, and
// ends cleared; standard output is what it is without a terminal.
TEST(TerminalProgressTest, ACliRunDrawsItsProgressOnStandardError) {
    fixtures::TempFolder temp;
    const fixtures::TestVolume volume =
        fixtures::BuildVolume(temp.path(), "Media", {{"A.omf", "Spot30"}, {"B.omf", "Trailer"}});
    const std::vector<std::string> args = {"copy-project", "Spot30", temp.Path("Copy"), volume.top};
    std::ostringstream out, err, quietOut, quietErr;

    const int status = RunCli(args, out, err, true);
    std::filesystem::remove_all(temp.Path("Copy"));
    const int quietStatus = RunCli(args, quietOut, quietErr, false);

    EXPECT_EQ(status, quietStatus);
    EXPECT_EQ(quietErr.str(), "");
    EXPECT_NE(err.str().find("\rScanning Volumes 0%"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("\rScanning Volumes 100%"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("\rCopying Spot30"), std::string::npos) << err.str();
    EXPECT_EQ(Shown(err.str()), "");
    // The log lines carry their own time stamps; their number and kinds are the same.
    const std::string shown = out.str(), quiet = quietOut.str();
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'),
              std::count(quiet.begin(), quiet.end(), '\n'));
}

}  // namespace
}  // namespace mt
