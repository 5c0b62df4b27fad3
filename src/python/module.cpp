// The module `sonvera`: measurement files read by the program's own core,
// their columns as numpy arrays and pandas frames, their export as the
// command line runs it.

#include <pybind11/eval.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "catalogue_handle.h"
#include "measurement_file_object.h"
#include "python_host.h"

namespace py = pybind11;
using namespace pybind11::literals;
using sonvera::python::Catalogue;
using sonvera::python::CataloguePtr;
using sonvera::python::File;
using sonvera::python::Refusal;

namespace {

// sonvera.Error: an OSError whose text is the program's message and, on the
// next line, the file and why.
constexpr const char* kErrorClass = R"(
class Error(OSError):
    """What the program refused: a measurement, catalogue or settings file it
    cannot use, or an export it would not run.

    message  -- the program's own message
    detail   -- the file and why ("path: reason"), or ""
    filename -- the file the call was about
    """

    def __init__(self, message, detail="", filename=None):
        super().__init__(message)
        self.message = message
        self.detail = detail
        self.filename = filename

    def __str__(self):
        return self.message + ("\n" + self.detail if self.detail else "")

    def __reduce__(self):  # whole across processes (multiprocessing)
        return (type(self), (self.message, self.detail, self.filename))
)";

std::optional<std::string> optionalPath(const py::object& path) {
  if (path.is_none()) return std::nullopt;
  return py::module_::import("os").attr("fsdecode")(path).cast<std::string>();
}

std::unique_ptr<File> openFile(const py::object& path, const std::shared_ptr<const Catalogue>& catalogue) {
  CataloguePtr used = catalogue ? catalogue : sonvera::python::defaultCatalogue();
  return std::make_unique<File>(std::move(used), *optionalPath(path));
}

}  // namespace

PYBIND11_MODULE(sonvera, m) {
  m.doc() = "Measurement files of sound level and vibration meters, read by the program's own core.";
  py::exec(kErrorClass, m.attr("__dict__"));
  py::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) std::rethrow_exception(p);
    } catch (const Refusal& r) {
      const py::object error = py::module_::import("sonvera").attr("Error")(r.message, r.detail, r.path);
      PyErr_SetObject(error.get_type().ptr(), error.ptr());
    }
  });

  py::class_<Catalogue, std::shared_ptr<Catalogue>>(m, "Catalogue",
                                                    "The device catalogue: every instrument the program knows.")
      .def(py::init([](const py::object& path) {
             return std::const_pointer_cast<Catalogue>(sonvera::python::loadCatalogue(optionalPath(path)));
           }),
           "path"_a = py::none(), "Loads the catalogue at path, or where the program looks for it when None.")
      .def_property_readonly("path", [](const Catalogue& c) { return c.path; })
      .def("__repr__", [](const Catalogue& c) { return "<sonvera.Catalogue '" + c.path + "'>"; });

  py::class_<File>(m, "File", "A measurement file opened as the program opens it.")
      .def_property_readonly("path", &File::path)
      .def_property_readonly("closed", &File::closed)
      .def_property_readonly("summary", &File::summary,
                             "The summary with the keys of `sonvera-cli info --json`; times as datetime.")
      .def_property_readonly("channels", &File::channels, "Name, unit, overload and underload of each channel.")
      .def_property_readonly("items", &File::items,
                             "The export list as the button \"Все\" fills it: text, group, parameter, band, channel.")
      .def("__len__", &File::records, "The number of records.")
      .def("columns", &File::columns, "items"_a = py::none(), "first"_a = 1, "last"_a = py::none(),
           "linear"_a = false,
           "Records first to last (from 1) as numpy arrays: record, time, a float64 column per value "
           "(NaN where a record carries none), overload, underload.")
      .def("to_pandas", &File::toPandas, "items"_a = py::none(), "first"_a = 1, "last"_a = py::none(),
           "linear"_a = false, "The columns as a pandas DataFrame indexed by time.")
      .def("export", &File::exportTo, "result"_a, "settings"_a = py::none(),
           "Exports as `sonvera-cli export` does, with its options as keyword arguments.")
      .def("assess", &File::assess, "result"_a = py::none(), "settings"_a = py::none(),
           "The noise assessment of `sonvera-cli assess`, with its options as keyword arguments "
           "(entry, interval, periods, penalties, threshold, gap, min_duration, exclude, from_, to, "
           "by_time; without settings the entries are File.items): the keys of its --json, times as "
           "datetime; `result` writes its files as -o does.")
      .def("close", &File::close)
      .def("__enter__", [](File& f) -> File& { return f; }, py::return_value_policy::reference)
      .def("__exit__", [](File& f, const py::args&) { f.close(); return false; })
      .def("__repr__", [](File& f) {
        return "<sonvera.File '" + f.path() + "'" + (f.closed() ? " closed" : "") + ">";
      });

  m.def("open", &openFile, "path"_a, "catalogue"_a = nullptr,
        "Opens a measurement file (*.bin, *.dcr, *.msr); raises sonvera.Error where the program refuses it.");
}
