#pragma once

// The page checks in the analyze command's JSON object: "checks" and "checks_summary".

#include <span>

#include "cli/json_writer.h"
#include "core/line_index.h"
#include "page_checks/page_checks.h"

namespace velmora::cli {

// "line" and "column" of an element, into the object being written.
void WritePosition(JsonWriter& json, const TextPosition& position);

// Writes "checks" into the object being written.
void WriteChecks(JsonWriter& json, std::span<const page_checks::CheckResult> checks);

// Writes "checks" and "checks_summary" into the object being written.
void WriteCheckFields(JsonWriter& json, const page_checks::PageCheckReport& report);

}  // namespace velmora::cli
