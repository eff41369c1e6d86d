#pragma once

// A command line or project configuration that cannot be run as given: exit 2, with the message
// naming what is wrong (a flag, or a configuration file with its line and key).

#include <stdexcept>

namespace velmora::cli {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace velmora::cli
