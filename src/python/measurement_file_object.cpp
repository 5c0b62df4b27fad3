#include "measurement_file_object.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <thread>
#include <type_traits>
#include <variant>

#include "app/summary_fields.h"
#include "app/scripted_export.h"
#include "export/record_walk.h"
#include "export/result_writer.h"
#include "python_values.h"

namespace sonvera::python {
namespace {

// Records decoded before their values go to the columns' rows.
constexpr py::ssize_t kChunkRecords = 256;
// Fewer records than this a processor are read in one part.
constexpr py::ssize_t kPartRecords = 16384;

// numpy's NaT in a datetime64 array.
constexpr std::int64_t kNotATime = std::numeric_limits<std::int64_t>::min();

// Names unique in a dict: a name the file repeats (bands without names) gets " (2)", " (3)", ...
std::vector<std::string> uniqueNames(const std::vector<ExportColumn>& columns) {
  std::map<std::string, int> seen = {{"record", 1}, {"time", 1}, {"overload", 1}, {"underload", 1}};
  std::vector<std::string> names;
  for (const ExportColumn& c : columns) {
    const int n = ++seen[c.name];
    names.push_back(n == 1 ? c.name : c.name + " (" + std::to_string(n) + ")");
  }
  return names;
}

// Where the columns of one reading go: `count` records, the values a row of
// `count` per column.
struct ColumnArrays {
  py::ssize_t count = 0, columns = 0;
  std::int64_t* record = nullptr;
  std::int64_t* time = nullptr;
  double* values = nullptr;
  bool* overload = nullptr;
  bool* underload = nullptr;
};

// Records [begin, end) of the job's range (counted from 0) into the arrays.
// A part that does not begin the range first decodes the record before it, so
// that a record of another type at its start shows the values standing before
// it, as in one pass (a record of the file's type writes every value of the
// layout). False when that record is of another type as well: the part is
// then not exact.
bool readPart(const ExportJob& whole, const ColumnArrays& out, py::ssize_t begin, py::ssize_t end) {
  ExportJob job = whole;
  job.settings.firstRecord = whole.settings.firstRecord + static_cast<std::uint32_t>(begin) - (begin > 0 ? 1 : 0);
  job.settings.lastRecord = whole.settings.firstRecord + static_cast<std::uint32_t>(end - 1);
  RecordWalk walk(job);
  if (begin > 0 && (!walk.next() || !walk.decoded())) return false;
  const py::ssize_t columns = out.columns, count = out.count;
  // Records are decoded a chunk at a time into a small record-major buffer
  // and each column's part copied into its row after: writing a value into
  // every row for every record would touch a page per value.
  std::vector<double> chunk(static_cast<std::size_t>(columns) * kChunkRecords);
  for (py::ssize_t first = begin; first < end; first += kChunkRecords) {
    const py::ssize_t n = std::min<py::ssize_t>(kChunkRecords, end - first);
    for (py::ssize_t i = first; i < first + n; ++i) {
      walk.next();
      out.record[i] = std::int64_t{whole.settings.firstRecord} + i + 1;
      out.time[i] = walk.time().secondsSince1970().value_or(kNotATime);
      out.overload[i] = walk.overload();
      out.underload[i] = walk.underload();
      double* line = chunk.data() + (i - first) * columns;
      for (py::ssize_t c = 0; c < columns; ++c) line[c] = walk.value(static_cast<std::size_t>(c));
    }
    for (py::ssize_t c = 0; c < columns; ++c) {
      double* row = out.values + c * count + first;
      for (py::ssize_t i = 0; i < n; ++i) row[i] = chunk[static_cast<std::size_t>(i * columns + c)];
    }
  }
  return true;
}

// The whole range, in parts read at once on the processors there are. Where
// a part could not be read exactly, the range is read again in one pass.
void readColumns(const ExportJob& job, const ColumnArrays& out) {
  const auto processors = static_cast<py::ssize_t>(std::max(1u, std::thread::hardware_concurrency()));
  const py::ssize_t parts = std::clamp<py::ssize_t>(out.count / kPartRecords, 1, std::min<py::ssize_t>(processors, 8));
  std::vector<char> exact(static_cast<std::size_t>(parts), 1);
  std::vector<std::thread> threads;
  const auto bound = [&](py::ssize_t k) { return out.count * k / parts; };
  for (py::ssize_t k = 1; k < parts; ++k)
    threads.emplace_back([&, k] { exact[static_cast<std::size_t>(k)] = readPart(job, out, bound(k), bound(k + 1)); });
  readPart(job, out, 0, bound(1));
  for (std::thread& t : threads) t.join();
  if (std::find(exact.begin(), exact.end(), 0) != exact.end()) readPart(job, out, 0, out.count);
}

}  // namespace

File::File(CataloguePtr catalogue, std::string path) : catalogue_(std::move(catalogue)), path_(std::move(path)) {
  const py::gil_scoped_release release;
  auto dialog = std::make_unique<MainDialog>(catalogue_->catalogue, host_);
  if (!dialog->openFile(path_)) throw host_.refusal(path_, "not opened");
  dialog->addAllExportItems();  // as the button "Все"
  dialog_ = std::move(dialog);
}

File::~File() = default;

MainDialog& File::dialog() {
  if (!dialog_) throw py::value_error("I/O operation on closed file");
  return *dialog_;
}

void File::close() {
  std::unique_ptr<MainDialog> closing;
  {
    const py::gil_scoped_release release;
    const std::lock_guard lock(mutex_);  // a reading in another thread ends first
    const py::gil_scoped_acquire acquire;
    closing = std::move(dialog_);
  }
}

std::uint32_t File::records() { return dialog().file().recordCount; }

py::dict File::summary() { return dictOf(summaryFields(dialog(), path_)); }

py::list File::channels() { return summary()["channels"]; }

py::list File::items() {
  const MainDialog& d = dialog();
  const auto list = d.exportLists().find(d.deviceType());
  py::list out;
  if (list == d.exportLists().end()) return out;
  for (std::size_t i = 0; i < list->second.size(); ++i) {
    const ExportItem& item = list->second[i];
    py::dict entry;
    entry["text"] = i < d.state().exportListLines.size() ? d.state().exportListLines[i] : std::string{};
    entry["group"] = item.group;
    entry["parameter"] = item.parameter;
    entry["band"] = item.band;
    entry["channel"] = item.channel;
    out.append(entry);
  }
  return out;
}

std::vector<std::size_t> File::chosenEntries(const py::object& chosen) {
  const py::list entries = items();
  std::vector<std::size_t> positions;
  if (chosen.is_none()) {
    for (std::size_t i = 0; i < entries.size(); ++i) positions.push_back(i);
    return positions;
  }
  const py::list given = py::isinstance<py::str>(chosen) || py::isinstance<py::int_>(chosen)
                             ? py::list(py::make_tuple(chosen))
                             : py::list(chosen);
  for (const py::handle item : given) {
    if (py::isinstance<py::str>(item)) {
      const std::string text = item.cast<std::string>();
      std::size_t i = 0;
      while (i < entries.size() && entries[i]["text"].cast<std::string>() != text) ++i;
      if (i == entries.size()) throw py::key_error("no export-list entry \"" + text + "\"");
      positions.push_back(i);
    } else {
      const auto i = item.cast<std::int64_t>();
      if (i < 0 || static_cast<std::size_t>(i) >= entries.size())
        throw py::index_error("export-list entry " + std::to_string(i) + " of " + std::to_string(entries.size()));
      positions.push_back(static_cast<std::size_t>(i));
    }
  }
  return positions;
}

py::dict File::columns(const py::object& items, std::int64_t first, std::optional<std::int64_t> last, bool linear) {
  const std::vector<std::size_t> positions = chosenEntries(items);
  MainDialog& d = dialog();
  // The range and the units as the window's fields would hold them.
  MainDialogState& s = d.editableState();
  s.rangeInRecords = true;
  s.rangeUnits = kRecordRangeUnits;
  s.rangeFrom = std::to_string(first);
  s.rangeTo = std::to_string(last.value_or(d.file().recordCount));
  s.linearUnits = linear ? 1 : 0;
  host_.messages.clear();
  std::optional<ExportJob> job = d.chartJob(std::nullopt);
  if (!job) throw host_.refusal(path_, "not read");
  std::vector<ExportItem> entries;
  for (const std::size_t p : positions) entries.push_back(job->items[p]);
  job->items = std::move(entries);

  // Every array is made before the reading begins: nothing is allocated per record.
  const std::vector<std::string> names = uniqueNames(RecordWalk(*job).columns());
  ColumnArrays arrays;
  arrays.count = static_cast<py::ssize_t>(job->settings.lastRecord - job->settings.firstRecord + 1);
  arrays.columns = static_cast<py::ssize_t>(names.size());
  py::dict out;
  const auto make = [&](const std::string& name, py::array array) {
    out[py::str(name)] = array;
    return array.mutable_data();
  };
  arrays.record = static_cast<std::int64_t*>(make("record", py::array_t<std::int64_t>(arrays.count)));
  arrays.time = static_cast<std::int64_t*>(
      make("time", py::array(py::dtype("datetime64[s]"), std::vector<py::ssize_t>{arrays.count})));
  // The values in one block, a row per column: each column's array is a view of its row.
  py::array_t<double> block({arrays.columns, arrays.count});
  arrays.values = block.mutable_data();
  for (py::ssize_t c = 0; c < arrays.columns; ++c)
    out[py::str(names[static_cast<std::size_t>(c)])] = block[py::int_(c)];
  arrays.overload = static_cast<bool*>(make("overload", py::array_t<bool>(arrays.count)));
  arrays.underload = static_cast<bool*>(make("underload", py::array_t<bool>(arrays.count)));

  {
    const py::gil_scoped_release release;
    const std::lock_guard lock(mutex_);
    if (!dialog_) throw py::value_error("I/O operation on closed file");  // closed by another thread meanwhile
    readColumns(*job, arrays);
  }
  return out;
}

py::object File::toPandas(const py::object& items, std::int64_t first, std::optional<std::int64_t> last,
                          bool linear) {
  py::dict data = columns(items, first, last, linear);
  const py::module_ pandas = py::module_::import("pandas");
  const py::object index = pandas.attr("DatetimeIndex")(data.attr("pop")("time"), py::arg("name") = "time");
  return pandas.attr("DataFrame")(data, py::arg("index") = index);
}

}  // namespace sonvera::python
