#pragma once

// A page's suppression comments in its JSON line, so that the second pass (velmora-cli site)
// leaves out what the page itself turned off, as one run does.

#include <nlohmann/json_fwd.hpp>

#include "cli/json_writer.h"
#include "cli/suppressions.h"

namespace velmora::cli {

// [{"id": "broken-links"}, {"id": "images", "line": 12}, …]
void WriteSuppressions(JsonWriter& json, const Suppressions& suppressions);

// The list as written; ids this version does not know are passed over, as the run that wrote
// them warned. Throws std::runtime_error when it is not such a list.
Suppressions ReadSuppressionList(const nlohmann::json& list);

}  // namespace velmora::cli
