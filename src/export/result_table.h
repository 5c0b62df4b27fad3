#pragma once
// Where the data of one result part go: a delimited text file, or (through a
// library beside the core) a workbook. The export worker writes every part
// through this interface; the text form is the result files' own.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "export/format_value.h"
#include "export/result_format.h"
#include "export/result_writer.h"
#include "export/text_encoding.h"
#include "measurement/record_time.h"

namespace sonvera {

class ResultTable {
 public:
  virtual ~ResultTable() = default;

  // Creates the part's file, or empties an existing one; false when that fails.
  virtual bool create(const std::string& path, TextEncoding encoding) = 0;
  virtual bool isOpen() const = 0;
  virtual const std::string& path() const = 0;

  virtual void header(const ResultFormatOptions& options, std::span<const std::string> columnNames) = 0;
  virtual void linePrefix(const ResultFormatOptions& options, std::uint32_t recordNumber, const RecordTime& time) = 0;
  virtual void value(const ResultFormatOptions& options, double value, DisplayFormat format, double reference) = 0;
  virtual void endLine() = 0;

  // True when the part's information goes into the part itself (as text in
  // the text form of the information file, given before close) instead of a
  // file of its own.
  virtual bool holdsInformation() const { return false; }
  virtual void setInformation(std::string_view /*utf8Text*/, char /*separator*/, bool /*decimalComma*/) {}

  // False once creating or writing has failed.
  virtual bool ok() const = 0;
  // Finishes the part; false when it could not be written whole.
  virtual bool close() = 0;
};

// True for a result name a workbook is written to: the extension ".xlsx" in any case.
inline bool isWorkbookExtension(std::string_view extension) {
  constexpr std::string_view kXlsx = ".xlsx";
  if (extension.size() != kXlsx.size()) return false;
  for (std::size_t i = 0; i < kXlsx.size(); ++i) {
    const char c = extension[i];
    if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != kXlsx[i]) return false;
  }
  return true;
}

// The delimited text file.
class TextResultTable final : public ResultTable {
 public:
  bool create(const std::string& path, TextEncoding encoding) override { return out_.create(path, encoding); }
  bool isOpen() const override { return out_.isOpen(); }
  const std::string& path() const override { return out_.path(); }
  void header(const ResultFormatOptions& options, std::span<const std::string> columnNames) override {
    writeDataHeader(out_, options, columnNames);
  }
  void linePrefix(const ResultFormatOptions& options, std::uint32_t recordNumber, const RecordTime& time) override {
    writeLinePrefix(out_, options, recordNumber, time);
  }
  void value(const ResultFormatOptions& options, double value, DisplayFormat format, double reference) override {
    writeValueField(out_, options, value, format, reference);
  }
  void endLine() override { out_.endLine(); }
  bool ok() const override { return out_.ok(); }
  bool close() override { return out_.close(); }

 private:
  ResultWriter out_;
};

}  // namespace sonvera
