// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "cli/error_output.h"
#include "cli/messages.h"

namespace velmora::cli {

// Hands each named JSON Lines input ("-" is standard input) to read(stream, name). A file that
// cannot be opened is named with the system's reason and the others are still read. True when
// every input opened and read(...) returned true for it.
template <typename Read>
bool ReadEachJsonLinesInput(const std::vector<std::string>& names, ErrorOutput& err, Read read) {
    bool allRead = true;
    for (const std::string& name : names) {
        if (name == "-") {
            allRead = read(std::cin, std::string("standard input")) && allRead;
            continue;
        }
        std::ifstream in(name, std::ios::binary);
        if (!in) {
            ReportProblem(err, name, std::strerror(errno));
            allRead = false;
            continue;
        }
        allRead = read(in, name) && allRead;
    }
    return allRead;
}

}  // namespace velmora::cli
