#pragma once

#include <cstddef>
#include <memory>
#include <unordered_map>

#include <QFont>
#include <QSize>
#include <QString>
#include <QStyledItemDelegate>

class QStyle;
class QTextLayout;

namespace zorvek {

// Draws the cells of the server list as the style's own item drawing does, but keeps
// each cell text's laid-out lines between paints instead of laying the text out twice
// per cell on every paint. Texts the style would elide or wrap are left to the style.
class ServerRowDelegate : public QStyledItemDelegate
{
public:
    // Laid-out texts kept at most; past it the kept ones start afresh.
    static constexpr int kLayoutLimit = 2048;

    explicit ServerRowDelegate(QObject* parent = nullptr);
    ~ServerRowDelegate() override;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    int keptLayouts() const { return static_cast<int>(m_layouts.size()); }

private:
    struct Key
    {
        QString text;
        QSize size; // of the cell
        int alignment;
        bool operator==(const Key& other) const = default;
    };
    struct KeyHash
    {
        std::size_t operator()(const Key& key) const;
    };
    struct Laid;

    // The cell's text laid out as the style lays it out, with where it goes in the cell;
    // null when the style would not draw it as one whole line (elided or broken).
    const Laid* laidOut(const QStyleOptionViewItem& option, const QStyle* style) const;

    mutable std::unordered_map<Key, std::unique_ptr<Laid>, KeyHash> m_layouts;
    mutable QFont m_font;
    mutable const QStyle* m_style = nullptr;
};

} // namespace zorvek
