#include "ui/SelectedRow.h"

#include <QTreeWidget>

std::optional<int> SelectedRow(const QTreeWidget& list) {
  std::optional<int> selected;
  for (int row = 0; row < list.topLevelItemCount(); ++row) {
    if (list.topLevelItem(row)->isSelected()) selected = row;
  }
  return selected;
}
