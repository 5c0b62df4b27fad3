#include "app/dialog_templates.h"

namespace sonvera {
namespace {

using K = ControlKind;

constexpr ControlTemplate kMainControls[] = {
    {1046, "Открыть файл", K::PushButton, 409, 7, 103, 14},
    {1029, "Создать файл результата", K::PushButton, 409, 25, 103, 14},
    {1008, "Просмотр последней записи", K::PushButton, 249, 7, 109, 14},
    {1001, "", K::Field, 7, 7, 167, 14},
    {1002, "", K::Field, 183, 7, 58, 14},
    {1003, "", K::Field, 7, 44, 167, 14},
    {1004, "", K::Field, 183, 44, 82, 14},
    {1005, "", K::Field, 274, 44, 58, 14},
    {1006, "over", K::IndicatorCheckBox, 7, 27, 26, 10},
    {1007, "under", K::IndicatorCheckBox, 185, 27, 32, 10},
    {1039, "", K::NotifyingField, 38, 25, 136, 14},
    {1040, "", K::NotifyingField, 220, 25, 180, 14},
    {kNoId, "Диапазон данных от", K::Label, 7, 67, 72, 8},
    {1036, "", K::Edit, 83, 65, 91, 14},
    {kNoId, "до", K::Label, 179, 67, 8, 8},
    {1037, "", K::Edit, 193, 65, 101, 14},
    {1041, "записи", K::Label, 299, 67, 24, 8},
    {1038, "диапазон данных задается в записях", K::CheckBox, 369, 68, 144, 10},
    {kNoId, "Настройка", K::GroupFrame, 7, 83, 505, 242},
    {kNoId, "Статистический анализ", K::GroupFrame, 15, 93, 257, 35},
    {1051, "Настройка", K::PushButton, 23, 106, 50, 14},
    {1010, "", K::NotifyingField, 78, 106, 187, 14},
    {kNoId, "Разделение результата на несколько файлов", K::GroupFrame, 15, 131, 257, 38},
    {1042, "", K::CheckBox, 24, 149, 11, 10},
    {kNoId, "Начинать новый файл каждые", K::Label, 42, 149, 106, 8},
    {1011, "", K::Edit, 154, 146, 40, 14},
    {1031, "минуту", K::FirstRadioButton, 199, 142, 40, 10},
    {1032, "запись", K::RadioButton, 199, 154, 39, 10},
    {kNoId, "Прореживание", K::GroupFrame, 15, 172, 257, 38},
    {1017, "", K::CheckBox, 24, 189, 11, 10},
    {kNoId, "Сохранять каждую", K::Label, 42, 189, 68, 8},
    {1012, "", K::Edit, 114, 186, 40, 14},
    {1013, "сек", K::FirstRadioButton, 159, 182, 27, 10},
    {1014, "запись", K::RadioButton, 159, 194, 39, 10},
    {1015, "с усреднением", K::CheckBox, 203, 182, 65, 10},
    {1016, "по максимумам", K::CheckBox, 203, 194, 65, 10},
    {kNoId, "Разделитель значений", K::GroupFrame, 15, 213, 257, 28},
    {1022, "точка с запятой", K::FirstRadioButton, 24, 226, 71, 10},
    {1023, "табуляция", K::RadioButton, 99, 226, 52, 10},
    {1024, "пробел", K::RadioButton, 153, 226, 40, 10},
    {kNoId, "Разделитель целой и дробной части", K::GroupFrame, 16, 248, 139, 28},
    {1020, "точка", K::FirstRadioButton, 24, 261, 36, 10},
    {1021, "запятая", K::RadioButton, 79, 261, 43, 10},
    {1048, "выводить номер записи", K::CheckBox, 164, 253, 97, 10},
    {1049, "выводить время/дату записи", K::CheckBox, 164, 266, 116, 10},
    {1018, "результат в линейных единицах", K::CheckBox, 17, 283, 123, 10},
    {1026, "сохранять инф. об исходном файле", K::CheckBox, 147, 283, 134, 10},
    {1025, "сокращенные имена параметров", K::CheckBox, 288, 283, 124, 10},
    {kNoId, "Комментарий", K::Label, 16, 306, 46, 8},
    {1019, "", K::Edit, 67, 303, 340, 14},
    {kNoId, "Выгружаемые данные:", K::Label, 285, 96, 79, 8},
    {1033, "", K::ListBox, 285, 111, 219, 143},
    {1047, "Все", K::PushButton, 421, 93, 30, 14},
    {1034, "Добавить", K::PushButton, 454, 93, 50, 14},
    {1043, "Вверх", K::PushButton, 285, 257, 36, 14},
    {1044, "Вниз", K::PushButton, 324, 257, 36, 14},
    {1050, "Удалить", K::PushButton, 377, 257, 50, 14},
    {1035, "Очистить список", K::PushButton, 429, 257, 75, 14},
    {1027, "Сохранить настройки", K::PushButton, 419, 284, 85, 14},
    {1028, "Загрузить настройки", K::PushButton, 419, 303, 85, 14},
    {kNoId, "Калибровочные поправки:", K::Label, 7, 327, 92, 8},
    {1045, "", K::ListBox, 7, 339, 505, 68},
};

constexpr ControlTemplate kPreviewControls[] = {
    {1001, "", K::Field, 7, 7, 156, 14},
    {1002, "", K::Field, 169, 7, 58, 14},
    {1003, "", K::Field, 7, 26, 156, 14},
    {1004, "", K::Field, 169, 26, 82, 14},
    {1005, "", K::Field, 257, 26, 58, 14},
    {1006, "over", K::IndicatorCheckBox, 248, 9, 31, 10},
    {1007, "under", K::IndicatorCheckBox, 287, 9, 35, 10},
};

constexpr ControlTemplate kParameterControls[] = {
    {1009, "", K::DropDownList, 7, 7, 80, 105},
    {1010, "", K::DropDownList, 97, 7, 80, 105},
    {1011, "", K::DropDownList, 187, 7, 80, 105},
    {1012, "", K::DropDownList, 277, 7, 80, 105},
    {kOkId, "Да", K::DefaultButton, 251, 34, 50, 14},
    {kCancelId, "Отмена", K::PushButton, 308, 34, 50, 14},
};

constexpr ControlTemplate kStatisticsControls[] = {
    {kNoId, "Процентили:", K::Label, 7, 7, 44, 8},
    {1011, "", K::Edit, 7, 22, 34, 14},
    {1012, "", K::Edit, 47, 22, 34, 14},
    {1019, "", K::Edit, 87, 22, 34, 14},
    {1036, "", K::Edit, 127, 22, 34, 14},
    {1037, "", K::Edit, 167, 22, 34, 14},
    {1016, "", K::Edit, 207, 22, 34, 14},
    {1006, "расчет минимума", K::CheckBox, 7, 44, 73, 10},
    {1007, "расчет максимума", K::CheckBox, 90, 44, 77, 10},
    {1008, "расчет Leq", K::CheckBox, 7, 59, 53, 10},
    {1009, "расчет LE", K::CheckBox, 90, 59, 49, 10},
    {1010, "расчет превышения уровня", K::CheckBox, 7, 74, 108, 10},
    {1017, "", K::Edit, 127, 72, 34, 14},
    {kOkId, "Да", K::DefaultButton, 137, 95, 50, 14},
    {kCancelId, "Отмена", K::PushButton, 191, 95, 50, 14},
};

// The template gives only the bar's size; bar and button are centred.
constexpr ControlTemplate kProgressControls[] = {
    {1047, "", K::ProgressBar, 7, 7, 156, 14},
    {kCancelId, "Отмена", K::PushButton, 60, 27, 50, 14},
};

// The viewer measures header texts itself; its hidden "Test" button is not needed.
constexpr ControlTemplate kViewerControls[] = {
    {kNoId, "Канал", K::Label, 7, 9, 22, 8},
    {1009, "", K::DropDownList, 34, 7, 56, 143},
    {1006, "Линейные единицы", K::CheckBox, 102, 9, 82, 10},
    {1007, "Расширенный формат отображения", K::CheckBox, 189, 9, 137, 10},
    {1010, "В буфер обмена", K::PushButton, 331, 7, 70, 14},
};

constexpr DialogTemplate kMain{102, "Универсальный транслятор", 519, 414, kMainControls};
constexpr DialogTemplate kPreview{130, "", 383, 47, kPreviewControls};
constexpr DialogTemplate kParameters{135, "Выбор параметра", 365, 55, kParameterControls};
constexpr DialogTemplate kStatistics{137, "Статистика", 249, 116, kStatisticsControls};
constexpr DialogTemplate kProgress{139, "Обработка", 171, 48, kProgressControls};
constexpr DialogTemplate kViewer{133, "Просмотр последней записи", 557, 282, kViewerControls};

}  // namespace

const ControlTemplate* DialogTemplate::control(int controlId) const {
  for (const ControlTemplate& c : controls)
    if (c.id == controlId) return &c;
  return nullptr;
}

const DialogTemplate& mainDialogTemplate() { return kMain; }
const DialogTemplate& previewPaneTemplate() { return kPreview; }
const DialogTemplate& parameterSelectionTemplate() { return kParameters; }
const DialogTemplate& statisticsTemplate() { return kStatistics; }
const DialogTemplate& progressTemplate() { return kProgress; }
const DialogTemplate& viewerTemplate() { return kViewer; }

}  // namespace sonvera
