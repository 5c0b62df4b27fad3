#include "export/export_runner.h"

namespace sonvera {

void ExportRunner::start(Work work) {
  stopAndJoin();
  thread_ = std::thread([this, work = std::move(work)] { work(stop_); });
}

void ExportRunner::stopAndJoin() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  stop_ = false;
}

}  // namespace sonvera
