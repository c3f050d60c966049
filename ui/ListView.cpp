#include "ui/ListView.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStringList>
#include <QTreeWidget>
#include <array>
#include <span>

namespace {

constexpr std::array<const char*, 4> kUserColumns = {"  name        ", "大小", "查看   ",
                                                     "desc              "};
constexpr std::array<const char*, 3> kVideoColumns = {"  video_intro", "大小", "查看   "};
constexpr std::array<const char*, 2> kFetchingColumns = {"  video_intro", "大小"};

std::span<const char* const> Captions(ListColumnSet set) {
  switch (set) {
    case ListColumnSet::UserView:
      return kUserColumns;
    case ListColumnSet::VideoView:
      return kVideoColumns;
    case ListColumnSet::Fetching:
      break;
  }
  return kFetchingColumns;
}

}  // namespace

// Each column is as wide as its caption plus 15 pixels.
void ResetListView(QTreeWidget& list, ListColumnSet set) {
  list.clear();
  list.setColumnCount(0);
  QStringList captions;
  for (const char* caption : Captions(set)) captions << QString::fromUtf8(caption);
  list.setHeaderLabels(captions);
  const QFontMetrics metrics = list.fontMetrics();
  for (int column = 0; column < captions.size(); ++column) {
    list.header()->resizeSection(column, metrics.horizontalAdvance(captions[column]) + 15);
  }
}

std::optional<int> SelectedRow(const QTreeWidget& list) {
  std::optional<int> selected;
  for (int row = 0; row < list.topLevelItemCount(); ++row) {
    if (list.topLevelItem(row)->isSelected()) selected = row;
  }
  return selected;
}
