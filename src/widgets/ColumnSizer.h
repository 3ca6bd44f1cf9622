#pragma once

#include <map>
#include <span>
#include <vector>

#include <QFont>
#include <QHash>
#include <QString>
#include <QStringList>

class QStyle;
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
// Header widths and the widths of texts already seen are kept as long as the list's
// fonts and style stay the same; a change of them re-measures everything once.
class ColumnSizer
{
public:
    // Texts whose widths are kept at most; past it the kept widths start afresh.
    static constexpr int kTextWidthLimit = 4096;

    explicit ColumnSizer(QTreeWidget* list);

    // Removes every row of the list; the header texts are measured anew.
    void clear();
    // Appends a row with the given texts (missing columns empty) and returns it.
    QTreeWidgetItem* addRow(const QStringList& texts);
    // Writes one cell; nothing is measured when the text is unchanged.
    void setCell(int row, int column, const QString& text);
    // Writes the row's first texts.size() cells; the list hears of the change once.
    void setRow(int row, std::span<const QString> texts);
    // Applies the widths to the list's columns.
    void apply();

    // How many text widths are kept (at most kTextWidthLimit).
    int keptTextWidths() const { return static_cast<int>(m_textWidths.size()); }

private:
    class Row;
    Row* rowAt(int row) const;
    // Writes one cell of the row and counts its width; false when it was unchanged.
    bool write(Row& item, int row, int column, const QString& text);
    void count(int column, int width, int delta);
    int textWidth(const QString& text);
    // Forgets every kept width when the fonts or the style the widths came from changed.
    void checkMeasures();
    void remeasureCells();

    QTreeWidget* m_list;
    int m_columns;
    std::vector<std::vector<int>> m_cellWidths;    // [row][column]
    std::vector<std::map<int, int>> m_widthCounts; // per column: width -> cells
    std::vector<int> m_headerWidths;               // empty until measured
    QHash<QString, int> m_textWidths;
    // What the kept widths were measured with.
    QFont m_font;
    QFont m_headerFont;
    const QStyle* m_style = nullptr;
};

} // namespace zorvek
