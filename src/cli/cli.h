#pragma once
// mactarnwick-cli: the catalogue and its operations without the window, for scripts,
// archiving reports and end-to-end tests; a thin client of Session. Output is one record a
// line, fields separated by one tab; names are printed as the bytes they are on disk, so that
// a script can pass them back; a tab or line end inside a name is written as \t, \n or \r.

#include <iosfwd>
#include <string>
#include <vector>

namespace mt {

// Runs one command. Returns 0 when nothing failed, 1 when a message box reported a
// problem, 2 on bad usage (with the usage text on err). When errIsTerminal, the progress of
// the scan and of the command is drawn on err, on one line that is cleared at the end.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool errIsTerminal = false);

// A field for the output: tabs and line ends escaped.
std::string CliField(const std::string& text);

// The version of MacTarnwick this program belongs to.
std::string CliVersion();

}  // namespace mt
