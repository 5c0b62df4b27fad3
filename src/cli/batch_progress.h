#pragma once
// The bar of a batch export on a terminal: files done of all, records done of
// all, and the names of the files being exported. Exports on several threads
// report to it; it draws on standard error at most ten times a second.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace sonvera::cli {

class BatchProgress {
 public:
  // `records[i]`: the records of file i (0 when unknown); `names[i]` its name.
  BatchProgress(std::vector<std::string> names, std::vector<std::uint64_t> records, std::FILE* out);

  void started(std::size_t file);
  void progress(std::size_t file, int percent);
  void finished(std::size_t file);
  // Clears the bar's line, so that a report may follow.
  void clear();

  // The bar's text without its line control, for tests.
  std::string text() const;

 private:
  void draw(bool now);

  struct FileState {
    std::string name;
    std::uint64_t records = 0;
    int percent = 0;
    bool running = false;
    bool done = false;
  };
  mutable std::mutex mutex_;
  std::vector<FileState> files_;
  std::uint64_t allRecords_ = 0;
  std::FILE* out_;
  std::chrono::steady_clock::time_point lastDrawn_{};
};

}  // namespace sonvera::cli
