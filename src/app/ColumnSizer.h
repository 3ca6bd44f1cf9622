#pragma once

#include <map>
#include <vector>

#include <QString>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;

namespace zorvek {

// The width a cell's text needs in a list view, margins included.
int CellTextWidth(const QTreeWidget& list, const QString& text);

// The width the header of a column needs.
int HeaderTextWidth(const QTreeWidget& list, int column);

// Sizes every column of a list view: as wide as the wider of its header and its
// widest cell, the last column stretched to the list's right edge. Measures all rows.
void ResizeColumnWidth(QTreeWidget* list);

// Keeps the column widths of a large list by the same rule as ResizeColumnWidth
// while its cells change, without re-measuring every row after each change: the
// widths of all cells are counted per column, so the widest is known at once.
class ColumnSizer
{
public:
    explicit ColumnSizer(QTreeWidget* list);

    // Removes every row of the list.
    void clear();
    // Appends a row with the given texts (missing columns empty) and returns it.
    QTreeWidgetItem* addRow(const QStringList& texts);
    // Writes one cell; nothing is measured when the text is unchanged.
    void setCell(int row, int column, const QString& text);
    // Applies the widths to the list's columns.
    void apply();

private:
    void count(int column, int width, int delta);

    QTreeWidget* m_list;
    int m_columns;
    std::vector<std::vector<int>> m_cellWidths;  // [row][column]
    std::vector<std::map<int, int>> m_widthCounts; // per column: width -> cells
};

} // namespace zorvek
