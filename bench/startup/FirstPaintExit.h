#pragma once

// Ends a start-up yardstick the way the program ends when measured: after the first paint of
// the watched widget that shows content, it prints the wall clock ("shown <microseconds since
// the epoch>") and what the window shows, then closes the dialog.

#include <QDialog>
#include <QEvent>
#include <QMetaObject>

#include <chrono>
#include <functional>
#include <iostream>
#include <string>

class CFirstPaintExit : public QObject {
public:
    // shows: whether the watched widget's paint shows the content; shown: printed after the time.
    CFirstPaintExit(QDialog& dialog, QWidget& watched, std::function<bool()> shows = {},
        std::function<std::string()> shown = {})
        : QObject(&dialog)
        , m_dialog(dialog)
        , m_fnShows(std::move(shows))
        , m_fnShown(std::move(shown))
    {
        watched.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_bShown && event->type() == QEvent::Paint && (!m_fnShows || m_fnShows())) {
            m_bShown = true;
            // Queued, so the painted window reaches the screen before the clock is read.
            QMetaObject::invokeMethod(this, &CFirstPaintExit::Exit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void Exit()
    {
        using namespace std::chrono;
        const auto now = duration_cast<microseconds>(system_clock::now().time_since_epoch());
        std::cout << "shown " << now.count() << '\n'
                  << (m_fnShown ? m_fnShown() : std::string()) << std::endl;
        m_dialog.done(QDialog::Accepted);
    }

    QDialog& m_dialog;
    std::function<bool()> m_fnShows;
    std::function<std::string()> m_fnShown;
    bool m_bShown = false;
};
