#include <algorithm>

#include "base/byte_writer.h"
#include "base/utf16.h"
#include "catalogue/catalogue_loader.h"
#include "catalogue/catalogue_source.h"

namespace sonvera {
namespace {

class Writer {
 public:
  explicit Writer(std::uint32_t version) : version_(version) {}

  std::vector<std::uint8_t> write(const CatalogueSource& s) {
    out_.u32(kCatalogueMagic);
    out_.u32(version_);
    count(s.types.size());
    for (const auto& t : s.types) writeType(t);
    count(s.models.size());
    for (const auto& m : s.models) writeModel(m);
    count(s.bandNames.size());
    for (const auto& name : s.bandNames) text(name);
    writeSection4(s.section4);
    writeSection5(s.section5);
    if (version_ >= 6) {
      count(s.section6.size());
      for (const auto& [a, b] : s.section6) out_.u32(a), out_.u32(b);
    }
    if (version_ >= 12) {
      count(s.bandNameTranslations.size());
      for (const auto& block : s.bandNameTranslations) indexedTexts(block.language, block.names);
    }
    if (version_ >= 14) {
      count(s.extraTables.size());
      for (const auto& e : s.extraTables) writeExtraTable(e);
    }
    return out_.take();
  }

 private:
  void count(std::size_t n) { out_.u32(static_cast<std::uint32_t>(n)); }
  void text(const std::string& s) { out_.text16(utf8ToUtf16(s)); }
  void formatWord(std::uint32_t w) {
    if (version_ >= 15)
      out_.u32(w);
    else
      out_.u16(static_cast<std::uint16_t>(w));
  }
  void words(const std::vector<std::uint32_t>& list) {
    count(list.size());
    for (const auto w : list) out_.u32(w);
  }
  void indexedTexts(const std::string& language,
                    const std::vector<std::pair<std::uint32_t, std::string>>& entries) {
    text(language);
    count(entries.size());
    for (const auto& [index, name] : entries) out_.u32(index), text(name);
  }

  void writeType(const TypeSource& t) {
    out_.u32(t.typeCode);
    words(t.layout);
    if (version_ >= 4) {
      count(t.formats.size());
      for (const auto f : t.formats) formatWord(f);
    }
    out_.u32(t.bandNameStart[0] | std::uint32_t{t.bandNameStep[0]} << 16);
    if (version_ >= 11) out_.u32(t.bandNameStart[1] | std::uint32_t{t.bandNameStep[1]} << 16);
    out_.u32(t.bandNameStart2);
    for (const auto w : t.reservedWords) out_.u32(w);
    out_.u32(t.blockCount);
    out_.f64(t.reservedReal);
    words(t.reservedList);
    out_.f64(t.defaultReference);
    count(t.titles.size());
    for (const auto& block : t.titles) {
      text(block.language);
      for (const auto& title : block.groupTitles) text(title);
      for (const auto& title : block.groupColumnTitles) text(title);
    }
    out_.u32(t.recordSize);
    if (version_ >= 3) out_.u32(t.wideBandIndex);
    if (version_ >= 13) out_.u32(t.reservedFlag);
    count(t.parameterNames.size());
    for (const auto& block : t.parameterNames) indexedTexts(block.language, block.names);
  }

  void writeModel(const ModelSource& m) {
    out_.u32(m.modelCode);
    count(m.blocks.size());
    for (const auto& block : m.blocks) {
      text(block.language);
      text(block.model.name);
      for (const auto& unit : block.model.channelUnits) text(unit);
      if (version_ >= 7)
        for (const auto& name : block.model.channelNames) text(name);
    }
  }

  void writeSection4(const std::vector<Section4Record>& records) {
    count(records.size());
    for (const auto& r : records) {
      out_.u32(r.key);
      out_.f64(r.real1);
      out_.f64(r.real2);
      out_.u32(r.word1);
      out_.u32(r.word2);
      for (const auto w : r.shorts) out_.u16(w);
      for (const auto d : r.reals) out_.f64(d);
      words(r.list);
    }
  }

  void writeSection5Entry(const Section5Entry& e) {
    text(e.texts[0]);
    if (version_ >= 8) text(e.texts[1]);
    if (version_ >= 9) text(e.texts[2]);
    for (const auto w : e.words) out_.u32(w);
  }

  void writeSection5(const std::vector<Section5Block>& blocks) {
    if (version_ < 5) {
      std::size_t n = 0;
      for (const auto& b : blocks) n += b.entries.size();
      count(n);
      for (const auto& b : blocks)
        for (const auto& e : b.entries) text(e.texts[0]), out_.u32(e.words[0]), out_.u32(e.words[1]), out_.u32(e.words[2]);
      return;
    }
    count(blocks.size());
    for (const auto& b : blocks) {
      text(b.language);
      count(b.entries.size());
      for (const auto& e : b.entries) writeSection5Entry(e);
    }
  }

  void writeExtraTable(const ExtraTableSource& e) {
    const auto& t = e.table;
    out_.u32(e.typeCode);
    text(e.language);
    text(t.name);
    count(t.bandNames.size());
    count(t.parameterNames.size());
    for (const auto& name : t.bandNames) text(name);
    for (const auto& name : t.parameterNames) text(name);
    // Missing cells are written as zero so the table keeps its P x B shape.
    const auto cell = [](const auto& rows, std::size_t p, std::size_t b) -> std::uint32_t {
      return p < rows.size() && b < rows[p].size() ? rows[p][b] : 0;
    };
    for (std::size_t p = 0; p < t.parameterNames.size(); ++p)
      for (std::size_t b = 0; b < t.bandNames.size(); ++b) out_.u32(cell(t.codes, p, b));
    for (std::size_t p = 0; p < t.parameterNames.size(); ++p)
      for (std::size_t b = 0; b < t.bandNames.size(); ++b) formatWord(cell(t.formats, p, b));
  }

  std::uint32_t version_;
  ByteWriter out_;
};

}  // namespace

std::vector<std::uint8_t> writeCatalogue(const CatalogueSource& source, std::uint32_t version) {
  return Writer(version).write(source);
}

CatalogueSource catalogueToSource(const DeviceCatalogue& catalogue, const std::string& language) {
  CatalogueSource s;
  for (const auto& [code, d] : catalogue.descriptions) {
    TypeSource t;
    t.typeCode = static_cast<std::uint32_t>(code);
    t.layout = d.layout;
    t.formats = d.formats;
    t.bandNameStart = d.bandNameStart;
    t.bandNameStep = d.bandNameStep;
    t.bandNameStart2 = d.bandNameStart2;
    t.reservedWords = d.reservedWords;
    t.blockCount = d.blockCount;
    t.reservedReal = d.reservedReal;
    t.reservedList = d.reservedList;
    t.defaultReference = d.defaultReference;
    t.titles.push_back({language, d.groupTitles, d.groupColumnTitles});
    t.recordSize = d.recordSize;
    t.wideBandIndex = d.wideBandIndex;
    t.reservedFlag = d.reservedFlag;
    ParameterNameBlockSource names{language, {}};
    for (const auto& [index, name] : d.parameterNames) names.names.emplace_back(index, name);
    t.parameterNames.push_back(std::move(names));
    s.types.push_back(std::move(t));
  }
  for (const auto& [code, model] : catalogue.models)
    s.models.push_back({static_cast<std::uint32_t>(code), {{language, model}}});
  s.bandNames = catalogue.bandNames;
  for (const auto& [code, table] : catalogue.extraTableMap)
    s.extraTables.push_back({code, language, table});
  return s;
}

}  // namespace sonvera
