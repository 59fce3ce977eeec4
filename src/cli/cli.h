#pragma once
// mactarnwick-cli: the catalogue and its operations without the window, for scripts,
// archiving reports and end-to-end tests. Output is one record a line, fields separated by
// one tab; a tab or line end inside a name is written as \t, \n or \r.

#include <iosfwd>
#include <string>
#include <vector>

namespace mt {

// Runs one command. Returns 0 when nothing failed, 1 when a message box reported a
// problem, 2 on bad usage (with the usage text on err).
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// A field for the output: tabs and line ends escaped.
std::string CliField(const std::string& text);

}  // namespace mt
