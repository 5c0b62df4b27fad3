#include "export/result_writer.h"

#include "export/ansi_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

namespace sonvera {
namespace {


std::string numbered(unsigned fileNumber) {
  char text[16];
  std::snprintf(text, sizeof text, "_%04u", fileNumber);
  return text;
}

}  // namespace

ResultWriter::~ResultWriter() { release(); }

ResultWriter::ResultWriter(ResultWriter&& other) noexcept
    : file_(std::move(other.file_)),
      path_(std::move(other.path_)),
      buffer_(std::move(other.buffer_)),
      capacity_(std::exchange(other.capacity_, 0)),
      used_(std::exchange(other.used_, 0)),
      ok_(other.ok_),
      memory_(std::exchange(other.memory_, false)),
      encoding_(other.encoding_) {}

ResultWriter& ResultWriter::operator=(ResultWriter&& other) noexcept {
  if (this != &other) {
    release();
    file_ = std::move(other.file_);
    path_ = std::move(other.path_);
    buffer_ = std::move(other.buffer_);
    capacity_ = std::exchange(other.capacity_, 0);
    used_ = std::exchange(other.used_, 0);
    ok_ = other.ok_;
    memory_ = std::exchange(other.memory_, false);
    encoding_ = other.encoding_;
  }
  return *this;
}

void ResultWriter::release() noexcept {
  if (file_.isOpen()) {
    flush();
    file_.close();
  }
}

bool ResultWriter::create(const std::string& path, TextEncoding encoding) {
  if (file_.isOpen()) close();
  path_ = path;
  used_ = 0;
  if (capacity_ < kBufferSize) growBuffer(kBufferSize);
  // Our own buffer is the only one, so every failing write shows at once.
  ok_ = file_.create(path);
  encoding_ = encoding;
  if (ok_ && encoding == TextEncoding::Utf8WithBom) write("\xEF\xBB\xBF");
  return ok_;
}

void ResultWriter::makeRoom(std::size_t bytes) {
  flush();  // in memory the buffer only grows
  if (used_ + bytes > capacity_) growBuffer(std::max(capacity_ * 2, used_ + bytes));
}

void ResultWriter::growBuffer(std::size_t capacity) {
  auto grown = std::make_unique_for_overwrite<char[]>(capacity);
  if (used_ > 0) std::memcpy(grown.get(), buffer_.get(), used_);
  buffer_ = std::move(grown);
  capacity_ = capacity;
}

void ResultWriter::commitSlowly(const char* end) {
  if (!isOpen() || !ok_) {
    ok_ = false;
    return;
  }
  used_ = static_cast<std::size_t>(end - buffer_.get());
  if (used_ >= kBufferSize && !memory_) flush();
}

void ResultWriter::write(std::string_view text) {
  if (!isOpen() || !ok_) {
    ok_ = false;
    return;
  }
  while (!text.empty()) {
    const void* nl = std::memchr(text.data(), '\n', text.size());
    const std::size_t run = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - text.data()) : text.size();
    char* at = room(run + 2);
    std::memcpy(at, text.data(), run);
    at += run;
    if (nl) {
      *at++ = '\r';
      *at++ = '\n';
      text.remove_prefix(run + 1);
    } else {
      text = {};
    }
    commit(at);
  }
}

void ResultWriter::createInMemory() {
  if (isOpen()) close();
  path_.clear();
  used_ = 0;
  ok_ = true;
  memory_ = true;
  encoding_ = TextEncoding::Utf8;
}

std::string ResultWriter::takeText() {
  std::string text(buffer_.get(), used_);
  used_ = 0;
  memory_ = false;
  return text;
}

std::string ResultWriter::encoded(std::string_view utf8) const {
  return encoding_ == TextEncoding::Windows1251 ? toAnsi(utf8) : std::string(utf8);
}

void ResultWriter::flush() {
  if (!file_.isOpen() || used_ == 0) return;  // in memory: kept
  if (ok_ && !file_.write(buffer_.get(), used_)) ok_ = false;
  used_ = 0;
}

bool ResultWriter::close() {
  if (memory_) {
    memory_ = false;
    used_ = 0;
    return ok_;
  }
  if (!file_.isOpen()) return ok_;
  flush();
  if (!file_.close()) ok_ = false;
  return ok_;
}

std::string dataFileName(const std::string& base, const std::string& extension, bool split,
                         unsigned fileNumber) {
  return split ? base + numbered(fileNumber) + extension : base + extension;
}

std::string informationFileName(const std::string& base, bool split, unsigned fileNumber) {
  return (split ? base + numbered(fileNumber) : base) + ".info";
}

std::vector<std::string> resultFileNames(const std::string& base, const std::string& extension, bool split,
                                         unsigned parts, bool informationFiles) {
  std::vector<std::string> names;
  names.reserve(std::size_t{parts} * (informationFiles ? 2 : 1));
  for (unsigned n = 1; n <= parts; ++n) {
    names.push_back(dataFileName(base, extension, split, n));
    if (informationFiles) names.push_back(informationFileName(base, split, n));
  }
  return names;
}

}  // namespace sonvera
