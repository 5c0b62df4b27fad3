#include "catalogue_handle.h"

#include <pybind11/pybind11.h>

#include <mutex>

#include "app/failure_reasons.h"
#include "app/strings.h"
#include "catalogue/catalogue_loader.h"
#include "python_host.h"

namespace py = pybind11;

namespace sonvera::python {
namespace {

// The folder of this module's file, with a separator at the end.
std::string moduleFolder() {
  const py::module_ path = py::module_::import("os.path");
  const py::object file = py::module_::import("sonvera").attr("__file__");
  return path.attr("dirname")(path.attr("abspath")(file)).cast<std::string>() + "/";
}

}  // namespace

CataloguePtr loadCatalogue(const std::optional<std::string>& given) {
  std::string path;
  if (given) {
    path = *given;
  } else {
    // SONVERA_DATA_FROM_MODULE: the installation's data folder seen from the module's.
    const std::string folder = moduleFolder();
    path = cataloguePathFor(folder, folder + SONVERA_DATA_FROM_MODULE);
  }
  auto loaded = std::make_shared<Catalogue>();
  loaded->path = path;
  bool ok = false;
  {
    const py::gil_scoped_release release;
    ok = loadCatalogueFile(path, kRussianLanguage, loaded->catalogue);
  }
  if (!ok) throw Refusal{text(StringId::CatalogueNotFound), path + ": " + catalogueFailureReason(path), path};
  return loaded;
}

CataloguePtr defaultCatalogue() {
  // Guarded by the interpreter lock: loading releases it only around the file's reading,
  // so a second caller may load it too; the first one stored is kept.
  static CataloguePtr loaded;
  if (!loaded) {
    CataloguePtr fresh = loadCatalogue(std::nullopt);
    if (!loaded) loaded = std::move(fresh);
  }
  return loaded;
}

}  // namespace sonvera::python
