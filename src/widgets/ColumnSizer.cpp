#include "widgets/ColumnSizer.h"

#include <algorithm>
#include <cmath>

#include <QFontMetricsF>
#include <QHeaderView>
#include <QStyle>
#include <QTreeWidget>

namespace zorvek {

namespace {

// Text margin of an item view cell, as the style draws it on both sides.
int cellMargin(const QTreeWidget& list)
{
    return 2 * (list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1);
}

// Sets the widths from the natural width of each column; the last one also takes
// what is left of the viewport.
void applyWidths(QTreeWidget* list, const std::vector<int>& natural)
{
    const int n = static_cast<int>(natural.size());
    int used = 0;
    for (int c = 0; c < n; ++c) {
        int width = natural[static_cast<std::size_t>(c)];
        if (c == n - 1)
            width = std::max(width, list->viewport()->width() - used);
        if (list->columnWidth(c) != width)
            list->setColumnWidth(c, width);
        used += width;
    }
}

} // namespace

int CellTextWidth(const QTreeWidget& list, const QString& text)
{
    if (text.isEmpty())
        return 0;
    // The item view lays text out with fractional advances: rounding down would elide it.
    return static_cast<int>(std::ceil(QFontMetricsF(list.font()).horizontalAdvance(text))) + cellMargin(list);
}

int HeaderTextWidth(const QTreeWidget& list, int column)
{
    return std::max(0, list.header()->sectionSizeHint(column));
}

void ResizeColumnWidth(QTreeWidget* list)
{
    const int n = list->columnCount();
    std::vector<int> natural(static_cast<std::size_t>(n));
    for (int c = 0; c < n; ++c) {
        int width = HeaderTextWidth(*list, c);
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            width = std::max(width, CellTextWidth(*list, list->topLevelItem(row)->text(c)));
        natural[static_cast<std::size_t>(c)] = width;
    }
    applyWidths(list, natural);
}

// A row of the sized list. It keeps its texts itself, so that several cells can change
// with one notification of the list instead of one per cell.
class ColumnSizer::Row : public QTreeWidgetItem
{
public:
    explicit Row(int columns) : m_texts(static_cast<std::size_t>(std::max(columns, 1)))
    {
        // The list's change notice covers as many columns as the item holds data for.
        QTreeWidgetItem::setData(static_cast<int>(m_texts.size()) - 1, Qt::DisplayRole, QString());
    }

    QVariant data(int column, int role) const override
    {
        if (isText(role) && column >= 0 && column < columns())
            return m_texts[static_cast<std::size_t>(column)];
        return QTreeWidgetItem::data(column, role);
    }

    void setData(int column, int role, const QVariant& value) override
    {
        if (!isText(role) || column < 0 || column >= columns()) {
            QTreeWidgetItem::setData(column, role, value);
            return;
        }
        if (store(column, value.toString()))
            changed();
    }

    // False when the text was already there.
    bool store(int column, const QString& text)
    {
        QString& kept = m_texts[static_cast<std::size_t>(column)];
        if (kept == text)
            return false;
        kept = text;
        return true;
    }

    void changed() { emitDataChanged(); }

private:
    static bool isText(int role) { return role == Qt::DisplayRole || role == Qt::EditRole; }
    int columns() const { return static_cast<int>(m_texts.size()); }

    std::vector<QString> m_texts;
};

ColumnSizer::ColumnSizer(QTreeWidget* list)
    : m_list(list), m_columns(list->columnCount()), m_widthCounts(static_cast<std::size_t>(m_columns)),
      m_font(list->font()), m_headerFont(list->header()->font()), m_style(list->style())
{
}

void ColumnSizer::clear()
{
    m_list->clear();
    m_cellWidths.clear();
    for (auto& counts : m_widthCounts)
        counts.clear();
    m_headerWidths.clear();
    m_textWidths.clear();
}

QTreeWidgetItem* ColumnSizer::addRow(const QStringList& texts)
{
    checkMeasures();
    auto* item = new Row(m_columns);
    std::vector<int> widths(static_cast<std::size_t>(m_columns), 0);
    for (int c = 0; c < m_columns && c < texts.size(); ++c) {
        item->store(c, texts[c]);
        widths[static_cast<std::size_t>(c)] = textWidth(texts[c]);
        count(c, widths[static_cast<std::size_t>(c)], +1);
    }
    m_list->addTopLevelItem(item);
    m_cellWidths.push_back(std::move(widths));
    return item;
}

ColumnSizer::Row* ColumnSizer::rowAt(int row) const
{
    if (row < 0 || row >= static_cast<int>(m_cellWidths.size()))
        return nullptr;
    return dynamic_cast<Row*>(m_list->topLevelItem(row));
}

bool ColumnSizer::write(Row& item, int row, int column, const QString& text)
{
    if (!item.store(column, text))
        return false;
    int& width = m_cellWidths[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    const int newWidth = textWidth(text);
    if (newWidth != width) {
        count(column, width, -1);
        count(column, newWidth, +1);
        width = newWidth;
    }
    return true;
}

void ColumnSizer::setCell(int row, int column, const QString& text)
{
    Row* item = rowAt(row);
    if (!item || column < 0 || column >= m_columns)
        return;
    checkMeasures();
    if (write(*item, row, column, text))
        item->changed();
}

void ColumnSizer::setRow(int row, std::span<const QString> texts)
{
    Row* item = rowAt(row);
    if (!item)
        return;
    checkMeasures();
    bool changed = false;
    const int n = std::min(m_columns, static_cast<int>(texts.size()));
    for (int c = 0; c < n; ++c)
        changed |= write(*item, row, c, texts[static_cast<std::size_t>(c)]);
    if (changed)
        item->changed();
}

void ColumnSizer::apply()
{
    checkMeasures();
    // The header view's own size hint is costly: it is taken once per list content.
    if (m_headerWidths.empty())
        for (int c = 0; c < m_columns; ++c)
            m_headerWidths.push_back(HeaderTextWidth(*m_list, c));
    std::vector<int> natural(static_cast<std::size_t>(m_columns));
    for (int c = 0; c < m_columns; ++c) {
        const auto& counts = m_widthCounts[static_cast<std::size_t>(c)];
        const int widest = counts.empty() ? 0 : counts.rbegin()->first;
        natural[static_cast<std::size_t>(c)] = std::max(m_headerWidths[static_cast<std::size_t>(c)], widest);
    }
    applyWidths(m_list, natural);
}

int ColumnSizer::textWidth(const QString& text)
{
    if (text.isEmpty())
        return 0;
    const auto known = m_textWidths.constFind(text);
    if (known != m_textWidths.constEnd())
        return *known;
    // Server texts are unbounded in number: the kept widths are bounded, not the texts.
    if (m_textWidths.size() >= kTextWidthLimit)
        m_textWidths.clear();
    const int width = CellTextWidth(*m_list, text);
    m_textWidths.insert(text, width);
    return width;
}

void ColumnSizer::checkMeasures()
{
    const QFont& font = m_list->font();
    const QFont& headerFont = m_list->header()->font();
    const QStyle* style = m_list->style();
    if (style == m_style && m_font.isCopyOf(font) && m_headerFont.isCopyOf(headerFont))
        return;
    // Equal fonts held apart are only kept as copies again, for the quick test above.
    const bool same = style == m_style && font == m_font && headerFont == m_headerFont;
    m_font = font;
    m_headerFont = headerFont;
    m_style = style;
    if (same)
        return;
    m_headerWidths.clear();
    m_textWidths.clear();
    remeasureCells();
}

void ColumnSizer::remeasureCells()
{
    for (auto& counts : m_widthCounts)
        counts.clear();
    for (std::size_t r = 0; r < m_cellWidths.size(); ++r) {
        const QTreeWidgetItem* item = m_list->topLevelItem(static_cast<int>(r));
        for (int c = 0; c < m_columns; ++c) {
            const int width = textWidth(item->text(c));
            m_cellWidths[r][static_cast<std::size_t>(c)] = width;
            count(c, width, +1);
        }
    }
}

void ColumnSizer::count(int column, int width, int delta)
{
    if (width == 0)
        return; // empty cells never widen a column
    auto& counts = m_widthCounts[static_cast<std::size_t>(column)];
    const int n = (counts[width] += delta);
    if (n <= 0)
        counts.erase(width);
}

} // namespace zorvek
