#include "qt/DesktopNotifier.h"

#include "qt/QtText.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QSystemTrayIcon>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kDefaultAction = QStringLiteral("default");
constexpr int kServerTimeout = -1;
constexpr int kTrayMessageMs = 10000;

} // namespace

CDesktopNotifier::CDesktopNotifier(std::function<void()> onClicked, QIcon trayIcon, QObject* parent)
    : QObject(parent)
    , m_fnClicked(std::move(onClicked))
    , m_trayIcon(std::move(trayIcon))
{
}

// On the first message only: most runs never notify, and reaching the session bus costs the
// start time and memory.
void CDesktopNotifier::ListenForAnswers(QDBusConnection& bus)
{
    if (m_bListening)
        return;
    m_bListening = true;
    bus.connect(kService, kPath, kService, QStringLiteral("ActionInvoked"), this,
        SLOT(OnActionInvoked(uint, QString)));
    bus.connect(kService, kPath, kService, QStringLiteral("NotificationClosed"), this,
        SLOT(OnClosed(uint, uint)));
}

void CDesktopNotifier::Notify(const std::string& title, const std::string& text)
{
    const QString qTitle = ToQString(title);
    const QString qText = ToQString(text);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        NotifyInTray(qTitle, qText);
        return;
    }
    ListenForAnswers(bus);
    // The desktop file names the installed icon as well; services that show markup would read
    // "<" and "&" in the text as markup.
    const QString desktopEntry = QGuiApplication::desktopFileName();
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, "Notify");
    call << QGuiApplication::applicationName() << m_nShown << desktopEntry << qTitle
         << qText.toHtmlEscaped() << QStringList { kDefaultAction, qTitle }
         << QVariantMap { { QStringLiteral("desktop-entry"), desktopEntry } } << kServerTimeout;
    // Asynchronous, so that a service started on demand does not hold the window.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
        [this, qTitle, qText](QDBusPendingCallWatcher* finished) {
            const QDBusPendingReply<uint> reply = *finished;
            finished->deleteLater();
            if (reply.isError())
                NotifyInTray(qTitle, qText);
            else
                m_nShown = reply.value();
        });
}

void CDesktopNotifier::OnActionInvoked(uint id, const QString& action)
{
    if (id != 0 && id == m_nShown && action == kDefaultAction && m_fnClicked)
        m_fnClicked();
}

void CDesktopNotifier::OnClosed(uint id, uint)
{
    if (id == m_nShown)
        m_nShown = 0;
}

void CDesktopNotifier::NotifyInTray(const QString& title, const QString& text)
{
    if (!m_pTray) {
        m_pTray = new QSystemTrayIcon(m_trayIcon, this);
        m_pTray->setToolTip(title);
        connect(m_pTray, &QSystemTrayIcon::messageClicked, this, [this] {
            if (m_fnClicked)
                m_fnClicked();
        });
    }
    m_pTray->show();
    m_pTray->showMessage(title, text, m_trayIcon, kTrayMessageMs);
}
