#pragma once

#include <string>

namespace velmora {

// The system's folder for temporary files, always ending with "/": TMPDIR when it names an
// existing directory, else /tmp. Empty when neither is usable.
std::string GetTempDirectory();

}  // namespace velmora
