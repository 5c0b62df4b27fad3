#include "support/catalogue_builder.h"

namespace sonvera::test {

TypeSource makeType(std::uint32_t typeCode, std::vector<ParameterCode> layout,
                    std::uint32_t recordSize) {
  TypeSource t;
  t.typeCode = typeCode;
  t.formats.assign(layout.size(), 0xFFFF);
  t.layout = std::move(layout);
  t.recordSize = recordSize;
  t.titles.push_back({kRu, {"Терцоктавы", "Октавы", "Общие"}, {"1/3", "1/1", "Общ"}});
  return t;
}

ModelSource makeModel(std::uint32_t modelCode, const std::string& name,
                      const std::string& language) {
  ModelSource m;
  m.modelCode = modelCode;
  ModelBlockSource block;
  block.language = language;
  block.model.name = name;
  block.model.channelUnits = {"Па", "Па", "Па", "Па"};
  block.model.channelNames = {"A", "B", "C", "D"};
  m.blocks.push_back(block);
  return m;
}

CatalogueSource minimalSource() {
  CatalogueSource s;
  s.models.push_back(makeModel(1, "Модель 1"));
  return s;
}

bool loadSource(const CatalogueSource& source, std::uint32_t version, DeviceCatalogue& out,
                const std::string& language) {
  const auto bytes = writeCatalogue(source, version);
  return loadCatalogue(bytes, language, out);
}

}  // namespace sonvera::test
