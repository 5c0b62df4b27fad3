#include "json_fields.h"

#include <type_traits>
#include <variant>

namespace sonvera::cli {
namespace {

nlohmann::ordered_json valueJson(const SummaryValue& value) {
  return std::visit(
      [](const auto& v) -> nlohmann::ordered_json {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, RecordTime>) {
          if (!v.valid()) return nullptr;
          return v.format("%Y-%m-%dT%H:%M:%S");
        } else if constexpr (std::is_same_v<T, std::vector<SummaryFields>>) {
          nlohmann::ordered_json list = nlohmann::ordered_json::array();
          for (const SummaryFields& fields : v) list.push_back(jsonOf(fields));
          return list;
        } else if constexpr (std::is_same_v<T, SummaryObject>) {
          return jsonOf(v.fields);
        } else {
          return v;
        }
      },
      static_cast<const SummaryValue::variant&>(value));
}

}  // namespace

nlohmann::ordered_json jsonOf(const SummaryFields& fields) {
  nlohmann::ordered_json j = nlohmann::ordered_json::object();
  for (const SummaryField& field : fields) j[field.name] = valueJson(field.value);
  return j;
}

}  // namespace sonvera::cli
