#include "app/strings.h"

#include "base/printf_text.h"
#include "export/item_text.h"
#include "export/result_format.h"

namespace sonvera {

const char* text(StringId id) {
  switch (id) {
    case StringId::CannotOpenFileNamed: return "Не могу открыть файл '%s'";
    case StringId::UnknownDeviceType:
      return "Неизвестный тип прибора (попробуйте обновить ПО с сайта производителя)";
    case StringId::CatalogueNotFound: return "Ошибка: файл TeleDescFile.bin не найден";
    case StringId::ChannelNamed: return item_text::kChannelNamed;
    case StringId::AllChannels: return item_text::kAllChannels.data();
    case StringId::AllBands: return item_text::kAllBands.data();
    case StringId::BadFileFormat: return "Ошибка: неверный формат файла";
    case StringId::BadThreshold: return "Ошибка: неверный порог";
    case StringId::BadPercentile: return "Ошибка: неверное значение процентили";
    case StringId::BadSplitValue:
      return "Ошибка: неверное значение параметра разделения результата на несколько файлов";
    case StringId::BadDecimationValue: return "Ошибка: неверное значение параметра прореживания";
    case StringId::BadRangeStart: return "Ошибка: неверно задано начало диапазона обработки";
    case StringId::BadRangeEnd: return "Ошибка: неверно задан конец диапазона обработки";
    case StringId::EmptyExportList: return "Ошибка: пустой список выгружаемых данных";
    case StringId::TooManyFiles: return "Предупреждение: будет создано более 200 файлов. Продолжить?";
    case StringId::RecordRange: return result_text::kRecordRange.data();
    case StringId::Overload: return result_text::kOverload.data();
    case StringId::Underload: return result_text::kUnderload.data();
    case StringId::VersionFormat: return "версия %d.%02d";
    case StringId::Markers: return result_text::kMarkers.data();
    case StringId::DuplicateItem: return "Параметр уже есть в списке. Все равно добавить?";
    case StringId::Date: return result_text::kDate.data();
    case StringId::Time: return result_text::kTime.data();
    case StringId::CopyToClipboard: return "В буфер обмена";
    case StringId::CannotOpenFile: return "Ошибка: не удалось открыть файл";
    case StringId::EmptyFile: return "Ошибка: пустой файл";
    case StringId::WriteFailedNamed: return "Ошибка записи файла '%s'";
    case StringId::NoWorkbooks: return "Эта сборка программы не пишет книги .xlsx";
    case StringId::WouldReplaceFileInUse:
      return "Ошибка: файл результата '%s' — это файл '%s', который программа читает; он не перезаписан";
    case StringId::SameResultFile:
      return "Ошибка: файлы результата '%s' и '%s' — один и тот же файл; ничего не записано";
    case StringId::BadPeriodHours: return "Ошибка: неверно заданы часы начала дня, вечера и ночи";
    case StringId::BadPenalties: return "Ошибка: неверно заданы поправки дня, вечера и ночи";
    case StringId::BadEventGap: return "Ошибка: неверно задана пауза, объединяющая события";
    case StringId::BadMinimumDuration: return "Ошибка: неверно задана минимальная длительность события";
    case StringId::NotALevelColumn:
      return "Ошибка: столбец '%s' — не уровень в дБ; оценка шума считается по уровням";
    case StringId::TooManyTableRows:
      return "Ошибка: диапазон занимает больше %u строк таблицы; выберите интервал длиннее или диапазон короче";
  }
  return "";
}

std::string versionText() { return printfText(text(StringId::VersionFormat), kVersionMajor, kVersionMinor); }

std::string versionNumber() { return printfText("%d.%02d", kVersionMajor, kVersionMinor); }

std::string baseTitle() { return std::string(kApplicationName) + " " + versionText(); }

}  // namespace sonvera
