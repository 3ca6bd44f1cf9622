#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTimer>

namespace zorvek::test {

// Records every message box the program shows and closes it with its OK button as
// soon as it is on screen, so that modal boxes never hold a test up.
class MessageBoxRecorder : public QObject
{
public:
    struct Shown
    {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        int buttons;
    };

    MessageBoxRecorder() { qApp->installEventFilter(this); }
    ~MessageBoxRecorder() override { qApp->removeEventFilter(this); }

    const QList<Shown>& shown() const { return m_shown; }
    QStringList texts() const
    {
        QStringList result;
        for (const Shown& s : m_shown)
            result << s.text;
        return result;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                m_shown.append(
                    {box->windowTitle(), box->text(), box->icon(), static_cast<int>(box->standardButtons())});
                QPointer<QMessageBox> guard(box);
                QTimer::singleShot(0, box, [guard] {
                    if (guard)
                        guard->button(QMessageBox::Ok) ? guard->button(QMessageBox::Ok)->click()
                                                       : guard->reject();
                });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QList<Shown> m_shown;
};

} // namespace zorvek::test
