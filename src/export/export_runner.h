#pragma once
// At most one export worker at a time, stopped only by one stop-and-join:
// set the flag, wait for the thread, clear the flag.

#include <atomic>
#include <functional>
#include <thread>

namespace sonvera {

class ExportRunner {
 public:
  // The worker tests the flag at the top of every record.
  using Work = std::function<void(const std::atomic<bool>& stop)>;

  ExportRunner() = default;
  ExportRunner(const ExportRunner&) = delete;
  ExportRunner& operator=(const ExportRunner&) = delete;
  ~ExportRunner() { stopAndJoin(); }

  // Stops a running worker first, then starts `work` on its own thread; false
  // when the system gives no thread.
  bool start(Work work);

  // Signals the worker (if any), waits for it without limit and resets the flag.
  void stopAndJoin();

  // A worker was started and not yet joined (it may have finished by itself).
  bool hasWorker() const { return thread_.joinable(); }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace sonvera
