#include "export/export_runner.h"

#include <system_error>

namespace sonvera {

bool ExportRunner::start(Work work) {
  stopAndJoin();
  try {
    thread_ = std::thread([this, work = std::move(work)] { work(stop_); });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void ExportRunner::stopAndJoin() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  stop_ = false;
}

}  // namespace sonvera
