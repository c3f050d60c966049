#pragma once

// Peers that are programs of their own: each run is a fresh process (or a pipeline of them),
// timed from the first start to the last exit, with standard input and the last program's
// output on /dev/null. No shell stands in between.

#include <optional>
#include <string>
#include <vector>

namespace pagetap::bench {

using CommandLine = std::vector<std::string>;  // the program (looked up in PATH), its arguments

// The wall-clock seconds, or nothing when a program could not start or did not exit with 0.
std::optional<double> TimeCommand(const CommandLine& command);
// Each program's output goes into the next one's input, as in a shell pipeline.
std::optional<double> TimePipeline(const std::vector<CommandLine>& commands);

// Whether a program of that name is in PATH.
bool HaveProgram(const std::string& name);

}  // namespace pagetap::bench
