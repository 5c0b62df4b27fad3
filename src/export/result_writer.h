#pragma once
// A result or information file, written from start to end in one pass
// through a buffer. Every "\n" goes out as CR LF. A failed create, write or
// close is remembered, so the export can say that its file is incomplete.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "export/text_encoding.h"
#include "platform/platform.h"

namespace sonvera {

class ResultWriter {
 public:
  ResultWriter() = default;
  ~ResultWriter();  // closes an open file; its result is lost, call close() to see it
  ResultWriter(const ResultWriter&) = delete;
  ResultWriter& operator=(const ResultWriter&) = delete;
  ResultWriter(ResultWriter&& other) noexcept;
  ResultWriter& operator=(ResultWriter&& other) noexcept;

  // Creates the file or empties an existing one; closes a file still open.
  // A UTF-8 file begins with its byte-order mark.
  bool create(const std::string& path, TextEncoding encoding = TextEncoding::Windows1251);
  // Keeps everything written in memory (as plain UTF-8) until takeText().
  void createInMemory();
  std::string takeText();
  bool isOpen() const { return file_.isOpen() || memory_; }
  const std::string& path() const { return path_; }

  // Bytes as they stand, except that each "\n" becomes CR LF. Nothing is
  // written once a write has failed.
  void write(std::string_view text);
  void endLine() { write("\n"); }
  // UTF-8 text in the file's encoding (a character Windows-1251 cannot hold
  // becomes "?").
  std::string encoded(std::string_view utf8) const;
  void writeLine(std::string_view text) {
    write(text);
    endLine();
  }
  // Room for `bytes` more bytes, to be written in place and then committed
  // up to their end; for text without line breaks, so nothing is copied twice.
  // Inline: the export calls them for every value.
  char* room(std::size_t bytes) {
    if (used_ + bytes > capacity_) makeRoom(bytes);
    return buffer_.get() + used_;
  }
  void commit(const char* end) {
    const auto used = static_cast<std::size_t>(end - buffer_.get());
    if (used < kBufferSize && ok_ && file_.isOpen()) {
      used_ = used;
      return;
    }
    commitSlowly(end);
  }

  // False once creating or writing has failed.
  bool ok() const { return ok_; }
  // Writes what is buffered and closes; false when the file could not be
  // created or any write or the close failed. Closing a closed writer
  // repeats the last answer.
  bool close();

 private:
  // Writes go out in pieces of this size.
  static constexpr std::size_t kBufferSize = std::size_t{1} << 16;

  void makeRoom(std::size_t bytes);
  void growBuffer(std::size_t capacity);
  void commitSlowly(const char* end);
  void flush();
  void release() noexcept;

  platform::WriteOnlyFile file_;
  std::string path_;
  // Left uninitialised: only the bytes written are ever touched, so a short
  // file costs no more than its own size. used_ bytes of it are waiting.
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = 0;
  std::size_t used_ = 0;
  bool ok_ = true;
  bool memory_ = false;
  TextEncoding encoding_ = TextEncoding::Windows1251;
};

// Data and information file names of an export. Split results are numbered
// from 1 with at least four digits: base_0001.csv, base_0001.info.
std::string dataFileName(const std::string& base, const std::string& extension, bool split,
                         unsigned fileNumber);
std::string informationFileName(const std::string& base, bool split, unsigned fileNumber);
// The names of parts 1 to `parts` in the order they are written, each data
// file followed by its information file when there are any.
std::vector<std::string> resultFileNames(const std::string& base, const std::string& extension, bool split,
                                         unsigned parts, bool informationFiles);

}  // namespace sonvera
