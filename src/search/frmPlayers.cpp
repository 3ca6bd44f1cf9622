#include "search/frmPlayers.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTreeWidget>

#include "common/TextCodec.h"
#include "common/Texts.h"
#include "widgets/ColumnSizer.h"

namespace zorvek {

namespace {

QFont Verdana(double pointSize, bool bold)
{
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace

frmPlayers::frmPlayers(QWidget* parent) : QDialog(parent)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(QString());
    setFixedSize(245, 547);

    m_frame = new QGroupBox(this);
    m_frame->setObjectName(QStringLiteral("Frame1"));
    m_frame->setGeometry(10, 4, 223, 533);

    m_lblFound = new QLabel(m_frame);
    m_lblFound->setObjectName(QStringLiteral("lblFound"));
    m_lblFound->setGeometry(16, 16, 185, 25);
    m_lblFound->setFont(Verdana(9, true));

    m_imgLogo = new QLabel(m_frame);
    m_imgLogo->setObjectName(QStringLiteral("imgLogo"));
    m_imgLogo->setGeometry(203, 20, 16, 16);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("listFoundedPlayers"));
    m_list->setGeometry(24, 48, 193, 473);
    m_list->setFont(Verdana(8.25, false));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setColumnCount(1);
    m_list->setHeaderLabels({QString::fromUtf8(texts::kColFoundPlayers)});
    m_list->headerItem()->setTextAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
    // Column widths are set by ResizeColumnWidth alone.
    m_list->header()->setStretchLastSection(false);

    // The window sees key presses before its controls, and mouse releases over the list.
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    m_list->setFocus();
}

void frmPlayers::setHits(const std::vector<FoundPlayer>& hits)
{
    m_chosenServer = 0;
    m_hits = hits;
    m_list->clear();
    for (const FoundPlayer& hit : m_hits)
        new QTreeWidgetItem(m_list, {FromCp1250(hit.FoundName)});
    ResizeColumnWidth(m_list);
    m_imgLogo->setPixmap(windowIcon().pixmap(16, 16));
    m_lblFound->setText(QString::fromUtf8(texts::kFoundCountPrefix) + QString::number(m_hits.size()));
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
    m_list->setFocus();
}

void frmPlayers::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Only now has the list its final size; the rows are laid out first so that a
    // vertical scroll bar is already taken off the width the last column stretches to.
    m_list->doItemsLayout();
    ResizeColumnWidth(m_list);
}

void frmPlayers::done(int result)
{
    QDialog::done(result);
    m_list->clear();
    m_hits.clear();
}

bool frmPlayers::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress)
        return handleKey(static_cast<QKeyEvent*>(event));
    // Any button, any modifiers: the press has already selected the row under the pointer.
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonRelease && isVisible()) {
        chooseSelected();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmPlayers::keyPressEvent(QKeyEvent* event)
{
    if (!handleKey(event))
        QDialog::keyPressEvent(event);
}

bool frmPlayers::handleKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        chooseSelected();
        return true;
    case Qt::Key_Escape:
        reject();
        return true;
    default:
        return false;
    }
}

void frmPlayers::chooseSelected()
{
    // With no row selected (a click on the empty part of the list) the window closes
    // without a choice.
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        reject();
        return;
    }
    // Row k belongs to hit k.
    const int row = m_list->indexOfTopLevelItem(selected.first());
    m_chosenServer = m_hits.at(static_cast<std::size_t>(row)).FoundServer;
    accept();
}

} // namespace zorvek
