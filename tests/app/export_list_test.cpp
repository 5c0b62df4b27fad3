#include "app/export_list.h"

#include <gtest/gtest.h>

#include <deque>

#include "support/banded_state.h"

namespace sonvera {
namespace {

using test::DecodingState;
using test::GroupShape;

constexpr std::uint16_t kType = 77;
constexpr std::uint16_t kOtherType = 78;
const std::string kDuplicateQuestion = "Параметр уже есть в списке. Все равно добавить?";

class ExportListTest : public ::testing::Test {
 protected:
  void open(int channels, const std::array<GroupShape, 3>& groups, std::uint16_t type = kType) {
    catalogue = test::bandedCatalogue(type, channels, groups);
    catalogue.bandNames = {"n0", "n1", "n2", "n3", "n4", "n5", "n6", "n7", "n8", "n9"};
    state = DecodingState{};
    ASSERT_TRUE(test::prepareCarried(catalogue, type, state));
  }
  ExportListContext context() {
    return {lists,
            catalogue,
            state.values,
            state.channels,
            state.description,
            [this](const std::string& question) {
              questions.push_back(question);
              const bool yes = !answers.empty() && answers.front();
              if (!answers.empty()) answers.pop_front();
              return yes;
            },
            [this](const std::optional<ExportItem>& initial) {
              initials.push_back(initial);
              std::optional<ExportItem> chosen;
              if (!choices.empty()) {
                chosen = choices.front();
                choices.pop_front();
              }
              return chosen;
            }};
  }
  std::vector<ExportItem>& list(std::uint16_t type = kType) { return lists[type]; }

  DeviceCatalogue catalogue;
  DecodingState state;
  ExportLists lists;
  std::deque<bool> answers;
  std::deque<std::optional<ExportItem>> choices;
  std::vector<std::string> questions;
  std::vector<std::optional<ExportItem>> initials;
};

TEST_F(ExportListTest, WithoutAFileNothingHappens) {
  open(1, {GroupShape{2, 2}, GroupShape{}, GroupShape{}});
  state.values.typeCode = 0;
  choices = {ExportItem{0, 0, 0, 0}};
  const ExportListContext c = context();
  EXPECT_EQ(refreshLines(c), ExportListView{});
  EXPECT_EQ(addItem(c), std::nullopt);
  EXPECT_EQ(addAll(c), std::nullopt);
  EXPECT_EQ(moveUp(c, 0), std::nullopt);
  EXPECT_EQ(moveDown(c, 0), std::nullopt);
  EXPECT_EQ(deleteItem(c, 0), std::nullopt);
  EXPECT_EQ(clearList(c), std::nullopt);
  EXPECT_EQ(editItem(c, 0), std::nullopt);
  EXPECT_TRUE(lists.empty());
  EXPECT_TRUE(initials.empty());
}

TEST_F(ExportListTest, RefreshCreatesTheTypesListAndShowsUnnamedItemsEmpty) {
  open(1, {GroupShape{2, 2}, GroupShape{}, GroupShape{}});
  EXPECT_EQ(refreshLines(context()), ExportListView{});
  ASSERT_EQ(lists.count(kType), 1u);
  list() = {{0, 1, -1, -1}, {0, 0, 0, 5}, {0, 0, 1, 0}};
  const ExportListView view = refreshLines(context());
  EXPECT_EQ(view.lines, (std::vector<std::string>{"Группа0,P1,все полосы", "", "Группа0,P0,n3"}));
  EXPECT_EQ(view.selection, std::nullopt);
}

TEST_F(ExportListTest, AddAsksOnceAboutADuplicate) {
  open(2, {GroupShape{2, 2}, GroupShape{}, GroupShape{}});
  choices = {std::nullopt};
  EXPECT_EQ(addItem(context()), std::nullopt);  // cancelled
  EXPECT_EQ(initials, (std::vector<std::optional<ExportItem>>{std::nullopt}));

  choices = {ExportItem{0, 1, -1, 0}};
  const std::optional<ExportListView> added = addItem(context());
  ASSERT_TRUE(added);
  EXPECT_EQ(added->lines, (std::vector<std::string>{"A,Группа0,P1,все полосы"}));
  EXPECT_EQ(added->selection, 0u);
  EXPECT_TRUE(questions.empty());

  choices = {ExportItem{0, 1, -1, 0}};
  answers = {false};
  EXPECT_EQ(addItem(context()), std::nullopt);
  EXPECT_EQ(list().size(), 1u);
  EXPECT_EQ(questions, (std::vector<std::string>{kDuplicateQuestion}));

  list().push_back({0, 1, -1, 0});  // two equal items: still one question
  choices = {ExportItem{0, 1, -1, 0}};
  answers = {true};
  const std::optional<ExportListView> again = addItem(context());
  ASSERT_TRUE(again);
  EXPECT_EQ(list().size(), 3u);
  EXPECT_EQ(list().back(), (ExportItem{0, 1, -1, 0}));
  EXPECT_EQ(again->selection, 2u);
  EXPECT_EQ(questions.size(), 2u);
}

TEST_F(ExportListTest, AddAllPutsGroupTwoFirstAndSkipsEmptyParameters) {
  open(2, {GroupShape{3, 2}, GroupShape{1, 1}, GroupShape{2, 1}});
  catalogue.extraTableMap.emplace(kType, test::extraTable("Доп", {"x", "y"}, {"b"}));
  catalogue.extraTableMap.emplace(kType, test::extraTable("Пусто", {}, {"b"}));
  catalogue.extraTableMap.emplace(kType, test::extraTable("Ещё", {"z"}, {"b"}));
  test::dropParameter(state, 0, 0);
  list() = {{1, 0, 0, 0}};
  const std::optional<ExportListView> view = addAll(context());
  ASSERT_TRUE(view);
  EXPECT_EQ(list(), (std::vector<ExportItem>{{2, 0, -1, -1},
                                             {2, 1, -1, -1},
                                             {0, 0, -1, -1},
                                             {0, 1, -1, -1},
                                             {1, 0, -1, -1},
                                             {3, 0, -1, -1},
                                             {3, 1, -1, -1},
                                             {5, 0, -1, -1}}));
  EXPECT_EQ(view->lines[2], "все каналы,Группа0,P1,все полосы");
  EXPECT_EQ(view->lines[7], "все каналы,Ещё,z,все полосы");
  EXPECT_EQ(view->selection, std::nullopt);
}

TEST_F(ExportListTest, AddAllLeavesOutGroupsWithoutBandsAndUncarriedGroups) {
  open(1, {GroupShape{}, GroupShape{2, 1}, GroupShape{}});
  test::dropParameter(state, 1, 0);
  test::dropParameter(state, 1, 1);
  ASSERT_TRUE(addAll(context()));
  EXPECT_TRUE(list().empty());
}

TEST_F(ExportListTest, MovingKeepsTheSelectionOnTheMovedItem) {
  open(1, {GroupShape{3, 1}, GroupShape{}, GroupShape{}});
  list() = {{0, 0, 0, 0}, {0, 1, 0, 0}, {0, 2, 0, 0}};
  EXPECT_EQ(moveUp(context(), 0), std::nullopt);
  EXPECT_EQ(moveDown(context(), 2), std::nullopt);
  EXPECT_EQ(moveUp(context(), std::nullopt), std::nullopt);
  EXPECT_EQ(moveDown(context(), 3), std::nullopt);  // a line the list does not have
  std::optional<ExportListView> view = moveUp(context(), 2);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->selection, 1u);
  EXPECT_EQ(view->lines, (std::vector<std::string>{"Группа0,P0,n0", "Группа0,P2,n0", "Группа0,P1,n0"}));
  view = moveDown(context(), 0);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->selection, 1u);
  EXPECT_EQ(list(), (std::vector<ExportItem>{{0, 2, 0, 0}, {0, 0, 0, 0}, {0, 1, 0, 0}}));
}

TEST_F(ExportListTest, DeleteSelectsTheSameLineOrTheOneAbove) {
  open(1, {GroupShape{3, 1}, GroupShape{}, GroupShape{}});
  list() = {{0, 0, 0, 0}, {0, 1, 0, 0}, {0, 2, 0, 0}};
  EXPECT_EQ(deleteItem(context(), std::nullopt), std::nullopt);
  std::optional<ExportListView> view = deleteItem(context(), 0);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->selection, 0u);
  view = deleteItem(context(), 1);  // the last line
  ASSERT_TRUE(view);
  EXPECT_EQ(view->selection, 0u);
  EXPECT_EQ(list(), (std::vector<ExportItem>{{0, 1, 0, 0}}));
  view = deleteItem(context(), 0);  // the only line
  ASSERT_TRUE(view);
  EXPECT_EQ(*view, ExportListView{});
}

TEST_F(ExportListTest, EditReplacesInPlaceWithoutADuplicateTest) {
  open(1, {GroupShape{3, 1}, GroupShape{}, GroupShape{}});
  list() = {{0, 0, 0, 0}, {0, 1, 0, 0}};
  EXPECT_EQ(editItem(context(), std::nullopt), std::nullopt);
  choices = {std::nullopt};
  EXPECT_EQ(editItem(context(), 1), std::nullopt);
  choices = {ExportItem{0, 0, 0, 0}};
  const std::optional<ExportListView> view = editItem(context(), 1);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->selection, 1u);
  EXPECT_EQ(list(), (std::vector<ExportItem>{{0, 0, 0, 0}, {0, 0, 0, 0}}));
  EXPECT_TRUE(questions.empty());
  EXPECT_EQ(initials, (std::vector<std::optional<ExportItem>>{ExportItem{0, 1, 0, 0}, ExportItem{0, 1, 0, 0}}));
}

TEST_F(ExportListTest, EachDeviceTypeKeepsItsOwnList) {
  open(1, {GroupShape{1, 1}, GroupShape{}, GroupShape{}});
  list() = {{0, 0, 0, 0}};
  open(2, {GroupShape{}, GroupShape{1, 1}, GroupShape{}}, kOtherType);
  EXPECT_EQ(refreshLines(context()), ExportListView{});
  choices = {ExportItem{1, 0, 0, -1}};
  ASSERT_TRUE(addItem(context()));
  ASSERT_TRUE(clearList(context()));
  EXPECT_TRUE(list(kOtherType).empty());
  EXPECT_EQ(list(kType), (std::vector<ExportItem>{{0, 0, 0, 0}}));
  open(1, {GroupShape{1, 1}, GroupShape{}, GroupShape{}});
  EXPECT_EQ(refreshLines(context()).lines, (std::vector<std::string>{"Группа0,P0,n0"}));
  EXPECT_EQ(lists.size(), 2u);
}

}  // namespace
}  // namespace sonvera
