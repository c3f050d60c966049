#pragma once

// The list view's three sets of columns, its selection, and what it shows of its state. Each
// view is built whole: every column and every row goes first.

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

// Greys the list and shows the busy cursor over it while a fetch it waits for runs, or gives
// both back.
void SetListBusy(QTreeWidget& list, bool busy);

// Shows a cell's whole text as its tooltip when the column is too narrow for it.
void ShowCutCellsAsToolTips(QTreeWidget& list);
