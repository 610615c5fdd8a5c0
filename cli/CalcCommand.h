#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tormel::cli {

// Exit statuses of tormel-calc.
enum ExitStatus { ExitAllOk = 0, ExitRefused = 1, ExitUsage = 2 };

// Runs tormel-calc with its arguments (without the program name): reads the JSON
// document from the named file or from `in`, writes the results to `out` and a
// one-line error to `err`. Returns the exit status. The progress line goes to
// `errorDescriptor`, the descriptor behind `err` (-1: none).
int RunCalcCommand(const std::vector<std::string> &arguments,
                   std::istream &in,
                   std::ostream &out,
                   std::ostream &err,
                   int errorDescriptor = -1);

} // namespace tormel::cli
