#include "python_values.h"

#include <type_traits>
#include <variant>

#include <pybind11/stl.h>

namespace sonvera::python {
namespace {

// Times as datetime; None for a time that is not valid.
py::object objectOf(const SummaryValue& value) {
  return std::visit(
      [](const auto& v) -> py::object {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, RecordTime>) {
          if (!v.valid()) return py::none();
          return py::module_::import("datetime").attr("datetime")(v.year(), v.month(), v.day(), v.hour(), v.minute(),
                                                                  v.second());
        } else if constexpr (std::is_same_v<T, std::vector<SummaryFields>>) {
          py::list list;
          for (const SummaryFields& fields : v) list.append(dictOf(fields));
          return list;
        } else if constexpr (std::is_same_v<T, SummaryObject>) {
          return dictOf(v.fields);
        } else {
          return py::cast(v);
        }
      },
      static_cast<const SummaryValue::variant&>(value));
}

}  // namespace

std::string pathText(const py::handle& path) {
  return py::module_::import("os").attr("fsdecode")(path).cast<std::string>();
}

std::vector<std::string> pathTexts(const py::object& paths) {
  std::vector<std::string> texts;
  if (paths.is_none()) return texts;
  if (py::isinstance<py::str>(paths) || py::hasattr(paths, "__fspath__") || py::isinstance<py::bytes>(paths))
    return {pathText(paths)};
  for (const py::handle path : paths) texts.push_back(pathText(path));
  return texts;
}

py::dict dictOf(const SummaryFields& fields) {
  py::dict d;
  for (const SummaryField& field : fields) d[py::str(field.name)] = objectOf(field.value);
  return d;
}

}  // namespace sonvera::python
