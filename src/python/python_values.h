#pragma once
// The program's values as Python objects and back: paths as str or
// os.PathLike, named fields as dicts (times as datetime, None for nothing).

#include <pybind11/pybind11.h>

#include <string>
#include <vector>

#include "app/summary_fields.h"

namespace sonvera::python {

namespace py = pybind11;

std::string pathText(const py::handle& path);
// str or os.PathLike is one path; any other iterable several; None none.
std::vector<std::string> pathTexts(const py::object& paths);

py::dict dictOf(const SummaryFields& fields);

}  // namespace sonvera::python
