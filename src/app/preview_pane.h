#pragma once
// The short summary under the open-file dialog, for the file under the cursor.
// It has its own file state, closed again after every update.

#include <string>

#include "catalogue/device_catalogue.h"
#include "measurement/measurement_file.h"

namespace sonvera {

class PreviewPane {
 public:
  explicit PreviewPane(const DeviceCatalogue& catalogue) : catalogue_(catalogue) {}

  // 0 shown; 1 no path; 2 cannot open; 3 unknown type or record size 0;
  // 4 no records; 5 no channels.
  int update(const std::string& path);

  // Fields 1001 to 1007 of the pane.
  std::string model, vin, span, records, step;
  bool over = false;
  bool under = false;
  bool underShown = false;

  // Whether the last update succeeded; the viewer shows the pane's state then.
  bool succeeded() const { return succeeded_; }
  const MeasurementFile& file() const { return file_; }

 private:
  const DeviceCatalogue& catalogue_;
  MeasurementFile file_;
  bool succeeded_ = false;
};

}  // namespace sonvera
