#include "app/export_list.h"

#include <utility>

#include "app/strings.h"
#include "export/item_text.h"

namespace sonvera {
namespace {

std::uint16_t deviceType(const ExportListContext& context) { return context.values.typeCode; }

ExportListView refreshed(const ExportListContext& context, std::optional<std::size_t> selection) {
  ExportListView view = refreshLines(context);
  if (selection && *selection < view.lines.size()) view.selection = selection;
  return view;
}

// The selected item's index, when a line is selected and the list has it.
std::optional<std::size_t> selectedIndex(const std::vector<ExportItem>& list, std::optional<std::size_t> selection) {
  if (!selection || *selection >= list.size()) return std::nullopt;
  return selection;
}

}  // namespace

std::vector<ExportItem>& listOf(ExportLists& lists, std::uint16_t type) { return lists[type]; }

ExportListView refreshLines(const ExportListContext& context) {
  ExportListView view;
  const std::uint16_t type = deviceType(context);
  if (type == 0) return view;
  for (const ExportItem& item : listOf(context.lists, type))
    view.lines.push_back(itemText(context.catalogue, context.values, context.channels, context.description,
                                  type, item, false)
                             .value_or(std::string{}));
  return view;
}

std::optional<ExportListView> addItem(const ExportListContext& context) {
  const std::uint16_t type = deviceType(context);
  if (type == 0) return std::nullopt;
  std::vector<ExportItem>& list = listOf(context.lists, type);
  const std::optional<ExportItem> chosen = context.chooseItem(std::nullopt);
  if (!chosen) return std::nullopt;
  for (const ExportItem& item : list) {
    if (item == *chosen) {
      if (!context.askYesNo(text(StringId::DuplicateItem))) return std::nullopt;
      break;
    }
  }
  list.push_back(*chosen);
  return refreshed(context, list.size() - 1);
}

std::optional<ExportListView> addAll(const ExportListContext& context) {
  const std::uint16_t type = deviceType(context);
  if (type == 0) return std::nullopt;
  std::vector<ExportItem>& list = listOf(context.lists, type);
  list.clear();
  const DeviceDescription& d = context.description;
  for (const int g : {2, 0, 1}) {
    const auto slot = static_cast<std::size_t>(g);
    if (d.bandCount[slot] <= 0) continue;
    const std::int32_t count = d.parameterCount[slot];
    const std::int32_t first = firstCarriedParameter(g, count, effectiveBandCount(context.values, d, g),
                                                     d.channelCount, context.channels);
    for (std::int32_t n = 0; first + n < count; ++n) list.push_back({g, n, -1, -1});
  }
  std::int32_t group = 3;
  for (const ExtraParameterTable* table : context.catalogue.extraTables(type)) {
    for (std::size_t n = 0; n < table->parameterNames.size(); ++n)
      list.push_back({group, static_cast<std::int32_t>(n), -1, -1});
    ++group;
  }
  return refreshed(context, std::nullopt);
}

std::optional<ExportListView> moveUp(const ExportListContext& context, std::optional<std::size_t> selection) {
  const std::uint16_t type = deviceType(context);
  if (type == 0) return std::nullopt;
  std::vector<ExportItem>& list = listOf(context.lists, type);
  const std::optional<std::size_t> i = selectedIndex(list, selection);
  if (!i || *i == 0) return std::nullopt;
  std::swap(list[*i], list[*i - 1]);
  return refreshed(context, *i - 1);
}

std::optional<ExportListView> moveDown(const ExportListContext& context, std::optional<std::size_t> selection) {
  const std::uint16_t type = deviceType(context);
  if (type == 0) return std::nullopt;
  std::vector<ExportItem>& list = listOf(context.lists, type);
  const std::optional<std::size_t> i = selectedIndex(list, selection);
  if (!i || *i + 1 >= list.size()) return std::nullopt;
  std::swap(list[*i], list[*i + 1]);
  return refreshed(context, *i + 1);
}

std::optional<ExportListView> deleteItem(const ExportListContext& context, std::optional<std::size_t> selection) {
  const std::uint16_t type = deviceType(context);
  if (type == 0) return std::nullopt;
  std::vector<ExportItem>& list = listOf(context.lists, type);
  const std::optional<std::size_t> i = selectedIndex(list, selection);
  if (!i) return std::nullopt;
  list.erase(list.begin() + static_cast<std::ptrdiff_t>(*i));
  if (list.empty()) return refreshed(context, std::nullopt);
  return refreshed(context, *i < list.size() ? *i : list.size() - 1);
}

std::optional<ExportListView> clearList(const ExportListContext& context) {
  const std::uint16_t type = deviceType(context);
  if (type == 0) return std::nullopt;
  listOf(context.lists, type).clear();
  return refreshed(context, std::nullopt);
}

std::optional<ExportListView> editItem(const ExportListContext& context, std::optional<std::size_t> selection) {
  const std::uint16_t type = deviceType(context);
  if (type == 0) return std::nullopt;
  std::vector<ExportItem>& list = listOf(context.lists, type);
  const std::optional<std::size_t> i = selectedIndex(list, selection);
  if (!i) return std::nullopt;
  const std::optional<ExportItem> chosen = context.chooseItem(list[*i]);
  if (!chosen) return std::nullopt;
  list[*i] = *chosen;
  return refreshed(context, *i);
}

}  // namespace sonvera
