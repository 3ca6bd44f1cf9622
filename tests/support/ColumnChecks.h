#pragma once

#include <vector>

class QTreeWidget;

namespace zorvek::test {

// The widths of every column of a list view, left to right.
std::vector<int> widths(const QTreeWidget& list);

// Checks the column rule measured from scratch over every row: each column as wide as the
// wider of its header and its widest cell, never narrower than the view's own size hint,
// the last column reaching the viewport's right edge.
void expectSizedByTheRule(const QTreeWidget& list);

} // namespace zorvek::test
