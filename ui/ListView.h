#pragma once

// The list view's three sets of columns, and its selection. Each view is built whole: every
// column and every row goes first.

#include <optional>

class QTreeWidget;

enum class ListColumnSet {
  UserView,   // name, picture size, a column never filled, the first video's description
  VideoView,  // intro, picture size, a column never filled
  Fetching,   // while a top list is on its way
};

// Deletes every column and every row, then inserts the columns of `set`.
void ResetListView(QTreeWidget& list, ListColumnSet set);

// The list allows several selected rows; the highest-numbered one is the one that counts.
std::optional<int> SelectedRow(const QTreeWidget& list);
