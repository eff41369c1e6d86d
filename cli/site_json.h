#pragma once

// The `site` object of analyze's JSON Lines, written by the first pass and read back by the
// second, so both judge the same records.

#include <nlohmann/json_fwd.hpp>

#include "cli/json_writer.h"
#include "site_checks/site_page.h"

namespace velmora::cli {

// Writes the object as the value of the key just written.
void WriteSiteObject(JsonWriter& json, const site_checks::PageSite& site);

// Reads it back; throws std::runtime_error naming the field that is not as written.
site_checks::PageSite ReadSiteObject(const nlohmann::json& site);

}  // namespace velmora::cli
