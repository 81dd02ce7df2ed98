#include "qt/SingleInstance.h"

#include "platform/RuntimeFolder.h"
#include "qt/LocalSocket.h"
#include "qt/QtText.h"
#include "window/ProfileInUse.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QThread>
#include <QWidget>

namespace {

constexpr int kConnectStepMs = 200;
constexpr int kRetryPauseMs = 100;

// The window the user works in: a dialog open over the main window (the language question
// at the first start, say) comes forward with it.
void BringToFront(QWidget& widget)
{
    widget.setWindowState(widget.windowState() & ~Qt::WindowMinimized);
    widget.show();
    widget.raise();
    widget.activateWindow();
}

} // namespace

CSingleInstance::CSingleInstance(const std::string& profilePath)
    : m_strProfilePath(profilePath)
    , m_lock(profilePath)
    , m_strSocketPath(SocketPath())
{
    if (m_lock.Lock() == CProfileLock::EState::Held)
        Listen();
}

CSingleInstance::~CSingleInstance() = default;

// The profile's path decides the name, so starts on other profiles never meet. In a shared
// folder another user could take the name first and receive every later start's hand-over.
std::string CSingleInstance::SocketPath() const
{
    const std::string folder = PrivateRuntimeFolder();
    return folder.empty() ? std::string() : folder + "/quotino-" + m_lock.Key() + ".socket";
}

void CSingleInstance::Listen()
{
    if (!m_strSocketPath.empty())
        m_pSocket = new CLocalSocket(
            m_strSocketPath, [this] { OnRequest(); }, this);
}

void CSingleInstance::OnRequest()
{
    QWidget* active = QApplication::activeModalWidget();
    if (!active)
        return;
    if (QWidget* parent = active->parentWidget())
        BringToFront(*parent->window());
    BringToFront(*active);
}

int CSingleInstance::HandOver() const
{
    if (m_lock.State() == CProfileLock::EState::HeldElsewhere && ReachFirst())
        return 0;
    const SProfileInUse message = ProfileInUseMessage(m_strProfilePath, m_lock);
    QMessageBox::warning(nullptr, ToQString(message.strTitle), ToQString(message.strText));
    return SProfileInUse::kExitStatus;
}

bool CSingleInstance::ReachFirst() const
{
    if (m_strSocketPath.empty())
        return false;
    const QDeadlineTimer deadline(kReachMs);
    do {
        if (CLocalSocket::Knock(m_strSocketPath, kConnectStepMs))
            return true;
        QThread::msleep(kRetryPauseMs);
    } while (!deadline.hasExpired());
    return false;
}
