#include "search/frmPlayers.h"
#include "ui_frmPlayers.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTreeWidget>
#include <QWindow>

#include "common/TextCodec.h"
#include "common/Texts.h"
#include "widgets/ColumnSizer.h"
#include "widgets/Fonts.h"

namespace zorvek {

frmPlayers::frmPlayers(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frmPlayers>())
{
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    ui->lblFound->setFont(Verdana(9, true));
    ui->listFoundedPlayers->setFont(Verdana(8.25));

    // The window sees key presses before its controls, and mouse releases over the list.
    ui->listFoundedPlayers->installEventFilter(this);
    ui->listFoundedPlayers->viewport()->installEventFilter(this);
    ui->listFoundedPlayers->setFocus();
}

frmPlayers::~frmPlayers() = default;

void frmPlayers::setHits(const std::vector<FoundPlayer>& hits)
{
    m_chosenServer = 0;
    m_hits = hits;
    ui->listFoundedPlayers->clear();
    for (const FoundPlayer& hit : m_hits)
        new QTreeWidgetItem(ui->listFoundedPlayers, {FromCp1250(hit.FoundName)});
    ResizeColumnWidth(ui->listFoundedPlayers);
    ui->imgLogo->setPixmap(windowIcon().pixmap(16, 16));
    ui->lblFound->setText(QString::fromUtf8(texts::kFoundCountPrefix) + QString::number(m_hits.size()));
    if (ui->listFoundedPlayers->topLevelItemCount() > 0)
        ui->listFoundedPlayers->setCurrentItem(ui->listFoundedPlayers->topLevelItem(0));
    ui->listFoundedPlayers->setFocus();
}

void frmPlayers::showEvent(QShowEvent* event)
{
    // The window has no caption text. Qt gives a native window with an empty title the
    // application's name instead ("zorvek" in the title bar), so the native window, about to
    // be mapped, gets a blank title; the widget's own title stays empty.
    if (QWindow* native = windowHandle(); native && native->title().isEmpty())
        native->setTitle(QStringLiteral(" "));
    QDialog::showEvent(event);
    // Only now has the list its final size; the rows are laid out first so that a
    // vertical scroll bar is already taken off the width the last column stretches to.
    ui->listFoundedPlayers->doItemsLayout();
    ResizeColumnWidth(ui->listFoundedPlayers);
}

void frmPlayers::done(int result)
{
    QDialog::done(result);
    ui->listFoundedPlayers->clear();
    m_hits.clear();
}

bool frmPlayers::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->listFoundedPlayers && event->type() == QEvent::KeyPress)
        return handleKey(static_cast<QKeyEvent*>(event));
    // Any button, any modifiers: the press has already selected the row under the pointer.
    if (watched == ui->listFoundedPlayers->viewport() && event->type() == QEvent::MouseButtonRelease &&
        isVisible()) {
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
    const QList<QTreeWidgetItem*> selected = ui->listFoundedPlayers->selectedItems();
    if (selected.isEmpty()) {
        reject();
        return;
    }
    // Row k belongs to hit k.
    const int row = ui->listFoundedPlayers->indexOfTopLevelItem(selected.first());
    m_chosenServer = m_hits.at(static_cast<std::size_t>(row)).FoundServer;
    accept();
}

} // namespace zorvek
