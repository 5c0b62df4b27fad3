#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "export/export_runner.h"

namespace sonvera {
namespace {

// A worker that handles "records" until it sees the stop flag.
struct CountingWork {
  std::atomic<int>* handled;
  std::atomic<bool>* finished;
  void operator()(const std::atomic<bool>& stop) const {
    for (int record = 0; record < 100000000; ++record) {
      if (stop) break;
      ++*handled;
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    *finished = true;
  }
};

TEST(ExportRunner, StopAndJoinEndsTheWorkerAndClearsTheFlag) {
  ExportRunner runner;
  std::atomic<int> handled{0};
  std::atomic<bool> finished{false};
  runner.start(CountingWork{&handled, &finished});
  while (handled < 3) std::this_thread::yield();
  runner.stopAndJoin();
  EXPECT_TRUE(finished);
  EXPECT_FALSE(runner.hasWorker());
  const int atStop = handled;
  // The flag is clear again: the next worker runs until stopped.
  std::atomic<bool> second{false};
  runner.start(CountingWork{&handled, &second});
  while (handled < atStop + 3) std::this_thread::yield();
  EXPECT_FALSE(second);
}

TEST(ExportRunner, StartingAgainStopsTheRunningWorkerFirst) {
  ExportRunner runner;
  std::atomic<int> handled{0};
  std::atomic<bool> first{false}, second{false};
  runner.start(CountingWork{&handled, &first});
  runner.start([&](const std::atomic<bool>&) { second = first.load(); });
  runner.stopAndJoin();
  EXPECT_TRUE(second);  // the first had ended before the second began
}

TEST(ExportRunner, FinishedWorkerIsJoinedByTheNextStop) {
  std::atomic<bool> done{false};
  {
    ExportRunner runner;
    runner.start([&](const std::atomic<bool>&) { done = true; });
    while (!done) std::this_thread::yield();
    EXPECT_TRUE(runner.hasWorker());
    runner.stopAndJoin();
    EXPECT_FALSE(runner.hasWorker());
    runner.stopAndJoin();  // nothing to stop
  }
  std::atomic<int> handled{0};
  std::atomic<bool> finished{false};
  {
    ExportRunner runner;  // destroyed while running: waits for the worker
    runner.start(CountingWork{&handled, &finished});
    while (handled < 1) std::this_thread::yield();
  }
  EXPECT_TRUE(finished);
}

}  // namespace
}  // namespace sonvera
