#include "export/result_writer.h"

#include <cstring>
#include <utility>

namespace sonvera {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;

std::string numbered(unsigned fileNumber) {
  char text[16];
  std::snprintf(text, sizeof text, "_%04u", fileNumber);
  return text;
}

}  // namespace

ResultWriter::~ResultWriter() { release(); }

ResultWriter::ResultWriter(ResultWriter&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)),
      path_(std::move(other.path_)),
      buffer_(std::move(other.buffer_)),
      ok_(other.ok_) {}

ResultWriter& ResultWriter::operator=(ResultWriter&& other) noexcept {
  if (this != &other) {
    release();
    file_ = std::exchange(other.file_, nullptr);
    path_ = std::move(other.path_);
    buffer_ = std::move(other.buffer_);
    ok_ = other.ok_;
  }
  return *this;
}

void ResultWriter::release() noexcept {
  if (file_) {
    flush();
    std::fclose(file_);
    file_ = nullptr;
  }
}

bool ResultWriter::create(const std::string& path) {
  if (file_) close();
  path_ = path;
  buffer_.clear();
  buffer_.reserve(kBufferSize);
  file_ = std::fopen(path.c_str(), "wb");
  // Our own buffer is the only one, so every failing write shows at once.
  if (file_ && std::setvbuf(file_, nullptr, _IONBF, 0) != 0) {
    std::fclose(file_);
    file_ = nullptr;
  }
  ok_ = file_ != nullptr;
  return ok_;
}

void ResultWriter::write(std::string_view text) {
  if (!file_ || !ok_) {
    ok_ = false;
    return;
  }
  while (!text.empty()) {
    const void* nl = std::memchr(text.data(), '\n', text.size());
    const std::size_t run = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - text.data()) : text.size();
    buffer_.insert(buffer_.end(), text.data(), text.data() + run);
    if (nl) {
      buffer_.push_back('\r');
      buffer_.push_back('\n');
      text.remove_prefix(run + 1);
    } else {
      text = {};
    }
    if (buffer_.size() >= kBufferSize) flush();
  }
}

void ResultWriter::flush() {
  if (!file_ || buffer_.empty()) return;
  if (ok_ && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) ok_ = false;
  buffer_.clear();
}

bool ResultWriter::close() {
  if (!file_) return ok_;
  flush();
  if (std::fclose(file_) != 0) ok_ = false;
  file_ = nullptr;
  return ok_;
}

std::string dataFileName(const std::string& base, const std::string& extension, bool split,
                         unsigned fileNumber) {
  return split ? base + numbered(fileNumber) + extension : base + extension;
}

std::string informationFileName(const std::string& base, bool split, unsigned fileNumber) {
  return (split ? base + numbered(fileNumber) : base) + ".info";
}

}  // namespace sonvera
