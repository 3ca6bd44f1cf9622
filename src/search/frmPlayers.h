#pragma once

#include <memory>
#include <vector>

#include <QDialog>

#include "search/PlayerSearch.h"

namespace Ui {
class frmPlayers;
}

namespace zorvek {

// The modal found-players window: lists the hits of a search and lets the user pick one
// with Enter or a mouse-button release over the list; Escape closes it without a choice.
class frmPlayers : public QDialog
{
    Q_OBJECT

public:
    explicit frmPlayers(QWidget* parent = nullptr);
    ~frmPlayers() override;

    // Fills the list with one row per hit in hit order, sizes its column, sets lblFound,
    // selects the first row and sets ChosenServer to 0. Show it with exec() afterwards.
    void setHits(const std::vector<FoundPlayer>& hits);

    // The server slot of the hit chosen at the last close, 0 when none was chosen.
    int ChosenServer() const { return m_chosenServer; }

    // Every close empties the list; the choice stays readable until the next setHits.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // True when the event was a key of the window: Enter chooses, Escape closes.
    bool handleKey(QKeyEvent* event);
    void chooseSelected();

    // The controls (frmPlayers.ui): Frame1, lblFound, imgLogo, listFoundedPlayers.
    std::unique_ptr<Ui::frmPlayers> ui;
    std::vector<FoundPlayer> m_hits;
    int m_chosenServer = 0;
};

} // namespace zorvek
