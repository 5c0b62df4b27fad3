#include "batch_progress.h"

#include <algorithm>

namespace sonvera::cli {
namespace {

// "8.6 M", "12 k", "950".
std::string count(std::uint64_t n) {
  char text[32];
  if (n >= 1000000)
    std::snprintf(text, sizeof text, "%.1f M", static_cast<double>(n) / 1e6);
  else if (n >= 10000)
    std::snprintf(text, sizeof text, "%llu k", static_cast<unsigned long long>(n / 1000));
  else
    std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(n));
  return text;
}

}  // namespace

BatchProgress::BatchProgress(std::vector<std::string> names, std::vector<std::uint64_t> records, std::FILE* out)
    : out_(out) {
  files_.resize(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    files_[i].name = std::move(names[i]);
    files_[i].records = i < records.size() ? records[i] : 0;
    allRecords_ += files_[i].records;
  }
}

void BatchProgress::started(std::size_t file) {
  const std::lock_guard lock(mutex_);
  files_.at(file).running = true;
  draw(true);
}

void BatchProgress::progress(std::size_t file, int percent) {
  const std::lock_guard lock(mutex_);
  files_.at(file).percent = std::clamp(percent, 0, 100);
  draw(false);
}

void BatchProgress::finished(std::size_t file) {
  const std::lock_guard lock(mutex_);
  FileState& f = files_.at(file);
  f.running = false;
  f.done = true;
  draw(true);
}

void BatchProgress::clear() {
  const std::lock_guard lock(mutex_);
  if (out_ == nullptr) return;
  std::fputs("\r\033[K", out_);
  std::fflush(out_);
}

std::string BatchProgress::text() const {
  std::size_t done = 0;
  std::uint64_t records = 0;
  std::string running;
  for (const FileState& f : files_) {
    if (f.done) {
      ++done;
      records += f.records;
    } else if (f.running) {
      records += f.records * static_cast<std::uint64_t>(f.percent) / 100;
      running += (running.empty() ? "" : ", ") + f.name;
    }
  }
  const double share = allRecords_ > 0 ? static_cast<double>(records) / static_cast<double>(allRecords_)
                                       : files_.empty() ? 1.0 : static_cast<double>(done) / files_.size();
  const int filled = static_cast<int>(share * 20);
  std::string bar = "[" + std::string(static_cast<std::size_t>(filled), '#') +
                    std::string(static_cast<std::size_t>(20 - filled), ' ') + "] ";
  bar += std::to_string(done) + "/" + std::to_string(files_.size()) + " files, " + count(records) + "/" +
         count(allRecords_) + " records";
  if (!running.empty()) bar += ": " + running;
  return bar;
}

void BatchProgress::draw(bool now) {
  if (out_ == nullptr) return;
  const auto t = std::chrono::steady_clock::now();
  if (!now && t - lastDrawn_ < std::chrono::milliseconds(100)) return;
  lastDrawn_ = t;
  std::string line = text();
  if (line.size() > 200) {  // long lists of names would wrap; cut between characters
    std::size_t cut = 200;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    line.resize(cut);
  }
  std::fprintf(out_, "\r%s\033[K", line.c_str());
  std::fflush(out_);
}

}  // namespace sonvera::cli
