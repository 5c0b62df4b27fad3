#include "app/failure_reasons.h"

#include <array>

#include "app/settings_file.h"
#include "base/byte_reader.h"
#include "base/printf_text.h"
#include "catalogue/catalogue_loader.h"

namespace sonvera {
namespace {

using platform::FileProblem;

// The first bytes of a file and its size; what a wrong file is told by.
struct FileStart {
  std::array<std::uint8_t, 20> bytes{};
  std::uint64_t size = 0;
  std::uint32_t word(std::size_t at) const { return loadLE32(bytes.data() + at); }
};

FileStart readStart(const std::string& path) {
  FileStart start;
  platform::ReadOnlyFile file;
  if (!file.open(path)) return start;
  start.size = file.size();
  file.readAt(0, start.bytes.data(), start.bytes.size());
  return start;
}

std::string bytesText(std::uint64_t n) { return std::to_string(n) + " байт"; }

// What a file that is not the kind asked for is instead, when its first word
// says so; empty otherwise.
std::string otherKind(const FileStart& start) {
  if (start.size < 4) return {};
  switch (start.word(0)) {
    case kSettingsFileMagic: return "это файл настроек";
    case kCatalogueMagic: return "это каталог приборов";
    case kFileMagic: return "это файл измерений";
    default: return {};
  }
}

}  // namespace

const char* fileProblemText(FileProblem problem) {
  switch (problem) {
    case FileProblem::NotFound: return "нет такого файла";
    case FileProblem::NoFolder: return "нет такой папки";
    case FileProblem::IsFolder: return "это папка";
    case FileProblem::NoAccess: return "нет доступа";
    case FileProblem::None:
    case FileProblem::Other: break;
  }
  return "система не дала открыть файл";
}

std::string readFailureReason(const std::string& path) { return fileProblemText(platform::readProblem(path)); }

std::string writeFailureReason(const std::string& path) { return fileProblemText(platform::writeProblem(path)); }

std::string measurementFailureReason(const DeviceCatalogue& catalogue, const std::string& path, OpenResult result) {
  if (result == OpenResult::CannotOpen) return readFailureReason(path);
  const FileStart start = readStart(path);
  if (start.size == 0) return "пустой файл (0 байт)";
  if (start.word(0) != kFileMagic) {
    if (const std::string kind = otherKind(start); !kind.empty()) return kind + ", а не файл измерений";
  }
  MeasurementFile file;  // opened again for what the header names
  if (openMeasurementFile(catalogue, path, file) == OpenResult::Empty) {
    return printfText("в файле нет ни одной целой записи (%s, запись: %s)", bytesText(start.size).c_str(),
                      bytesText(file.description.recordSize).c_str());
  }
  const FileVariant variant = detectVariant(std::span<const std::uint8_t, 8>(start.bytes.data(), 8));
  if (variant == FileVariant::SelfDescribing) {
    if (start.size < kFileHeaderSize || file.description.recordSize == 0)
      return printfText("заголовок файла измерений обрезан или повреждён (%s)", bytesText(start.size).c_str());
  } else if (start.size < start.bytes.size()) {
    return printfText("слишком короткий для файла измерений (%s)", bytesText(start.size).c_str());
  }
  const std::uint16_t type = file.values.typeCode, model = file.values.modelCode;
  const std::string where = catalogue.sourcePath.empty() ? "в каталоге" : "в каталоге '" + catalogue.sourcePath + "'";
  if (catalogue.findDescription(type) == nullptr) {
    // A headerless file names its type only by a few bytes: random bytes read the same way.
    if (variant == FileVariant::Legacy)
      return printfText("не файл измерений: по его байтам это прибор типа %u (модель %u), а такого нет %s", type,
                        model, where.c_str());
    return printfText("прибора типа %u (модель %u) нет %s", type, model, where.c_str());
  }
  return printfText("описание прибора типа %u %s не годится для чтения его записей", type, where.c_str());
}

std::string settingsFailureReason(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return "пустой файл (0 байт)";
  FileStart start;
  start.size = bytes.size();
  for (std::size_t i = 0; i < start.bytes.size() && i < bytes.size(); ++i) start.bytes[i] = bytes[i];
  if (start.size >= 4 && start.word(0) != kSettingsFileMagic) {
    if (const std::string kind = otherKind(start); !kind.empty()) return kind + ", а не файл настроек";
    return "не файл настроек";
  }
  if (start.size >= 8 && start.word(4) != kSettingsFileVersion)
    return printfText("файл настроек версии %u, а программа читает версию %u", start.word(4), kSettingsFileVersion);
  return printfText("файл настроек обрезан или повреждён (%s)", bytesText(bytes.size()).c_str());
}

std::string catalogueFailureReason(const std::string& path) {
  if (const FileProblem problem = platform::readProblem(path); problem != FileProblem::None)
    return fileProblemText(problem);
  const FileStart start = readStart(path);
  if (start.size == 0) return "пустой файл (0 байт)";
  if (start.size < 4 || start.word(0) != kCatalogueMagic) {
    if (const std::string kind = otherKind(start); !kind.empty()) return kind + ", а не каталог приборов";
    return "не каталог приборов";
  }
  return printfText("каталог повреждён, другой версии или без текстов на языке «%s»",
                    std::string(kRussianLanguage).c_str());
}

}  // namespace sonvera
