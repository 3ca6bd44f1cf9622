#pragma once

#include <QPushButton>

namespace zorvek {

// A push button whose caption wraps onto a second line when it is wider than the
// button, as the refresh button's "Obnovit seznam" needs in its fixed size.
class CaptionButton : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace zorvek
