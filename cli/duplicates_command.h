#pragma once

// velmora-cli duplicates: the second pass of a site checked in parts. It reads the JSON Lines of
// analyze runs (one, or many concatenated) and prints the groups of pages that share a title or
// a description, as the duplicate checks of one run would name them.

#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace velmora::cli {

class CheckedOutput;
class ErrorOutput;

struct DuplicatesArguments {
    std::vector<std::string> files;  // "-" reads standard input
};

CLI::App& AddDuplicatesCommand(CLI::App& app, DuplicatesArguments& arguments);

// Prints the groups on out and names each unreadable file or line on err; returns the exit
// code, 3 when any file or line could not be read (the rest are still compared).
int RunDuplicates(const DuplicatesArguments& arguments, CheckedOutput& out, ErrorOutput& err);

}  // namespace velmora::cli
