#include "widgets/ServerRowDelegate.h"

#include <QApplication>
#include <QHashFunctions>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>
#include <QTextOption>

namespace zorvek {

struct ServerRowDelegate::Laid
{
    QTextLayout layout;
    QRect lineRect; // where the line goes, from the cell's top left
    int height = 0; // of the laid-out block, as the style aligns it
    bool whole = false;
};

std::size_t ServerRowDelegate::KeyHash::operator()(const Key& key) const
{
    return qHashMulti(0, key.text, key.size.width(), key.size.height(), key.alignment);
}

ServerRowDelegate::ServerRowDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

ServerRowDelegate::~ServerRowDelegate() = default;

const ServerRowDelegate::Laid* ServerRowDelegate::laidOut(const QStyleOptionViewItem& option,
                                                          const QStyle* style) const
{
    if (style != m_style || !m_font.isCopyOf(option.font)) {
        if (style != m_style || m_font != option.font)
            m_layouts.clear();
        m_font = option.font;
        m_style = style;
    }
    const Key key{option.text, option.rect.size(), static_cast<int>(option.displayAlignment)};
    const auto known = m_layouts.find(key);
    if (known != m_layouts.end())
        return known->second->whole ? known->second.get() : nullptr;

    // Where the style puts the text (measuring it for that) is asked once per text and
    // cell size; the text's own margins come off both sides.
    auto laid = std::make_unique<Laid>();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
    laid->lineRect = style->subElementRect(QStyle::SE_ItemViewItemText, &option, option.widget)
                         .translated(-option.rect.topLeft())
                         .adjusted(margin, 0, -margin, 0);
    const int width = laid->lineRect.width();

    // The same layout as the style's item text: one line per manual break, each as wide
    // as the text rectangle, aligned within it.
    QTextLayout& layout = laid->layout;
    layout.setText(option.text);
    layout.setFont(option.font);
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::ManualWrap);
    textOption.setTextDirection(option.direction);
    textOption.setAlignment(QStyle::visualAlignment(option.direction, option.displayAlignment));
    layout.setTextOption(textOption);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    qreal height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    laid->height = layout.boundingRect().size().toSize().height();
    // Anything but one whole line that fits (an elided or broken text) is the style's.
    const QTextLine line = layout.lineCount() == 1 ? layout.lineAt(0) : QTextLine();
    laid->whole = line.isValid() && line.textStart() == 0 && line.textLength() == option.text.size() &&
                  line.naturalTextWidth() <= width;
    if (m_layouts.size() >= static_cast<std::size_t>(kLayoutLimit))
        m_layouts.clear();
    const Laid* result = laid->whole ? laid.get() : nullptr;
    m_layouts.emplace(key, std::move(laid));
    return result;
}

void ServerRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const bool plain =
        !opt.text.isEmpty() && opt.direction == Qt::LeftToRight &&
        !(opt.features & (QStyleOptionViewItem::WrapText | QStyleOptionViewItem::HasCheckIndicator |
                          QStyleOptionViewItem::HasDecoration)) &&
        !(opt.state & QStyle::State_Editing);
    const Laid* laid = plain ? laidOut(opt, style) : nullptr;
    if (!laid) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }

    // Background, selection and focus as the style draws them, then the kept text with
    // the pen the style would take.
    opt.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    QPalette::ColorGroup group = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(opt.state & QStyle::State_Active))
        group = QPalette::Inactive;
    const QRect lineRect = laid->lineRect.translated(opt.rect.topLeft());
    const QRect block = QStyle::alignedRect(Qt::LayoutDirectionAuto, opt.displayAlignment,
                                            QSize(lineRect.width(), laid->height), lineRect);
    painter->save();
    painter->setClipRect(opt.rect);
    painter->setPen(opt.palette.color(group, opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                                : QPalette::Text));
    laid->layout.draw(painter, QPointF(lineRect.x(), block.top()));
    painter->restore();
}

} // namespace zorvek
