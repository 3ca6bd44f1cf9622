#include "support/ColumnChecks.h"

#include <algorithm>

#include <QTreeWidget>

#include <gtest/gtest.h>

#include "widgets/ColumnSizer.h"

namespace zorvek::test {

std::vector<int> widths(const QTreeWidget& list)
{
    std::vector<int> result;
    for (int c = 0; c < list.columnCount(); ++c)
        result.push_back(list.columnWidth(c));
    return result;
}

void expectSizedByTheRule(const QTreeWidget& list)
{
    const int n = list.columnCount();
    int used = 0;
    for (int c = 0; c < n; ++c) {
        int widest = HeaderTextWidth(list, c);
        for (int r = 0; r < list.topLevelItemCount(); ++r) {
            const QString text = list.topLevelItem(r)->text(c);
            widest = std::max(widest, CellTextWidth(list, text));
            // Never narrower than the view itself needs: no cell text is elided.
            EXPECT_GE(list.columnWidth(c), list.sizeHintForIndex(list.model()->index(r, c)).width())
                << c << " " << r;
        }
        if (c < n - 1)
            EXPECT_EQ(list.columnWidth(c), widest) << "column " << c;
        else
            EXPECT_EQ(list.columnWidth(c), std::max(widest, list.viewport()->width() - used))
                << "last column";
        used += list.columnWidth(c);
    }
}

} // namespace zorvek::test
