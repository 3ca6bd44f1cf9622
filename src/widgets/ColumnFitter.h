#pragma once

#include <functional>

#include <QObject>

class QTreeWidget;

namespace zorvek {

// Sizes a list view's columns again whenever the width of the area that shows its rows
// changes: when the window is first laid out, and when a vertical scroll bar comes or goes.
// The last column is stretched to that width, so it has to follow it.
class ColumnFitter : public QObject
{
    Q_OBJECT

public:
    // `fit` sizes the columns (ResizeColumnWidth, or a ColumnSizer's apply); the fitter
    // lives as long as the list.
    ColumnFitter(QTreeWidget* list, std::function<void()> fit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_fit;
};

} // namespace zorvek
