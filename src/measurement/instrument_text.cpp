#include "measurement/instrument_text.h"

#include <array>

#include "base/utf16.h"

namespace sonvera {
namespace {

constexpr std::size_t kTableSize = 112;
using Table = std::array<char16_t, kTableSize>;

// Builds a table from runs of consecutive characters; the rest is spaces.
class TableBuilder {
 public:
  TableBuilder() { table_.fill(u' '); }
  TableBuilder& run(char16_t first, char16_t last) {
    for (char16_t c = first; c <= last; ++c) put(c);
    return *this;
  }
  TableBuilder& chars(std::u16string_view list) {
    for (char16_t c : list) put(c);
    return *this;
  }
  TableBuilder& spaces(std::size_t count) {
    pos_ += count;
    return *this;
  }
  Table done() const { return table_; }

 private:
  void put(char16_t c) {
    if (pos_ < kTableSize) table_[pos_] = c;
    ++pos_;
  }
  Table table_{};
  std::size_t pos_ = 0;
};

// Punctuation shared by the Russian and Latin tables after the letters.
TableBuilder& symbols(TableBuilder& b) {
  return b.run(u'!', u'.')
      .chars(u":;?<=>@")
      .run(u'[', u'_')
      .chars(u"`")
      .run(u'{', u'~')
      .chars(u"\u045E\u00B0\u2116\u00A4");
}

Table russianTable() {
  TableBuilder b;
  b.run(u'\u0410', u'\u0415').chars(u"\u0401").run(u'\u0416', u'\u042F');
  b.run(u'\u0430', u'\u0435').chars(u"\u0451").run(u'\u0436', u'\u044F');
  symbols(b);
  return b.run(u'0', u'9').chars(u" ").done();
}

Table kazakhTable() {
  TableBuilder b;
  b.chars(u"\u0410\u04D8\u0411\u0412\u0413\u0492\u0414\u0415\u0401\u0416\u0417\u0418\u0419"
          u"\u041A\u049A\u041B\u041C\u041D\u04A2\u041E\u04E8\u041F\u0420\u0421\u0422\u0423"
          u"\u04B0\u04AE\u0424\u0425\u04BA\u0426\u0427\u0428\u0429\u042A\u042B\u0049\u042C"
          u"\u042D\u042E\u042F");
  b.chars(u"\u0430\u04D9\u0431\u0432\u0433\u0493\u0434\u0435\u0451\u0436\u0437\u0438\u0439"
          u"\u043A\u049B\u043B\u043C\u043D\u04A3\u043E\u04E9\u043F\u0440\u0441\u0442\u0443"
          u"\u04B1\u04AF\u0444\u0445\u04BB\u0446\u0447\u0448\u0449\u044A\u044B\u0069\u044C"
          u"\u044D\u044E\u044F");
  b.run(u'!', u'.').chars(u":;?");
  return b.run(u'0', u'9').chars(u" ").done();
}

Table latinTable() {
  TableBuilder b;
  b.run(u'A', u'Z').run(u'a', u'z');
  symbols(b);
  return b.spaces(14).run(u'0', u'9').chars(u" ").done();
}

Table sharedTable() {
  TableBuilder b;
  return b.run(u'@', u'~').done();
}

const Table& nationalTable(int selector) {
  static const std::array<Table, 3> tables = {russianTable(), kazakhTable(), latinTable()};
  return tables[static_cast<std::size_t>(selector - 1)];
}

}  // namespace

char16_t instrumentCharacter(std::uint8_t byte, int tableSelector) {
  static const Table shared = sharedTable();
  if (byte < 32) return u' ';
  if (byte >= 64 && byte <= 175) return shared[byte - 64u];
  if (tableSelector < 1 || tableSelector > 3) return u' ';
  return nationalTable(tableSelector)[byte <= 63 ? byte - 32u : byte - 144u];
}

std::string instrumentText(const std::uint8_t* bytes10, int tableSelector) {
  std::string out;
  assignInstrumentText(out, bytes10, tableSelector);
  return out;
}

void assignInstrumentText(std::string& out, const std::uint8_t* bytes10, int tableSelector) {
  std::array<char16_t, 10> text;
  for (std::size_t i = 0; i < text.size(); ++i) text[i] = instrumentCharacter(bytes10[i], tableSelector);
  assignUtf8(out, std::u16string_view(text.data(), text.size()));
}

}  // namespace sonvera
