#pragma once
// Named fields of the dialog logic as JSON: objects in the fields' order,
// times as "2026-05-14T01:00:00", null for nothing or a time that is not valid.

#include <nlohmann/json.hpp>

#include "app/summary_fields.h"

namespace sonvera::cli {

nlohmann::ordered_json jsonOf(const SummaryFields& fields);

}  // namespace sonvera::cli
