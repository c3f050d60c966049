#pragma once

#include <optional>

class QTreeWidget;

// The list allows several selected rows; the highest-numbered one is the one that counts.
std::optional<int> SelectedRow(const QTreeWidget& list);
