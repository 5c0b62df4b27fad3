#pragma once
// sonvera.File: one measurement file opened in the main dialog's logic, as
// the window opens it, with its summary, its export list as the button "Все"
// fills it, its columns as numpy arrays and its export.

#include <pybind11/pybind11.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "app/main_dialog.h"
#include "catalogue_handle.h"
#include "python_host.h"

namespace sonvera::python {

namespace py = pybind11;

class File {
 public:
  // Opens the file with the interpreter lock released; throws Refusal.
  File(CataloguePtr catalogue, std::string path);
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  const std::string& path() const { return path_; }
  bool closed() const { return !dialog_; }
  void close();
  std::uint32_t records();

  py::dict summary();
  py::list channels();
  py::list items();
  // `items`: None for every entry, or positions in `items()` or their texts.
  py::dict columns(const py::object& items, std::int64_t first, std::optional<std::int64_t> last, bool linear);
  py::object toPandas(const py::object& items, std::int64_t first, std::optional<std::int64_t> last, bool linear);
  py::dict exportTo(const py::object& result, const py::object& settings, const py::kwargs& options);
  py::dict assess(const py::object& result, const py::object& settings, const py::kwargs& options);

 private:
  // The open dialog; ValueError once closed.
  MainDialog& dialog();
  std::vector<std::size_t> chosenEntries(const py::object& items);

  CataloguePtr catalogue_;
  std::string path_;
  PythonHost host_;
  std::unique_ptr<MainDialog> dialog_;
  // Everything but the reading of records runs under the interpreter lock,
  // which is released while records are read: this lock keeps close() from
  // taking the file away meanwhile. Taken only with the interpreter lock released.
  std::mutex mutex_;
};

}  // namespace sonvera::python
