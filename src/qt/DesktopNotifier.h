#pragma once

#include "window/Notifier.h"

#include <QIcon>
#include <QObject>

#include <functional>

class QDBusConnection;
class QSystemTrayIcon;

// Notifications through the desktop's notification service on the session bus; where none
// answers, a message from an icon in the system tray. A new message replaces the one still on
// screen, and clicking it calls onClicked, which brings the window to the front.
class CDesktopNotifier : public QObject, public INotifier {
    Q_OBJECT

public:
    CDesktopNotifier(std::function<void()> onClicked, QIcon trayIcon, QObject* parent = nullptr);

    void Notify(const std::string& title, const std::string& text) override;

private slots:
    void OnActionInvoked(uint id, const QString& action);
    void OnClosed(uint id, uint reason);

private:
    void NotifyInTray(const QString& title, const QString& text);
    void ListenForAnswers(QDBusConnection& bus);

    std::function<void()> m_fnClicked;
    QIcon m_trayIcon;
    uint m_nShown = 0; // the service's id of the message on screen
    QSystemTrayIcon* m_pTray = nullptr;
    bool m_bListening = false;
};
