#include "qt/SingleInstance.h"

#include "config/Texts.h"
#include "platform/Cp1252.h"
#include "profile/IniFile.h"
#include "qt/QtText.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
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
{
    if (m_lock.Lock() == CProfileLock::EState::Held)
        Listen();
}

CSingleInstance::~CSingleInstance() = default;

// The profile's path decides the name, so starts on other profiles never meet.
QString CSingleInstance::ServerName() const
{
    const QByteArray hash = QCryptographicHash::hash(
        QByteArray::fromStdString(m_lock.CanonicalPath()), QCryptographicHash::Sha256);
    return QStringLiteral("quotino-") + QString::fromLatin1(hash.toHex().left(32));
}

void CSingleInstance::Listen()
{
    m_pServer = new QLocalServer(this);
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    // Whoever listened under the name before us has let go of the lock: a crashed run.
    QLocalServer::removeServer(ServerName());
    m_pServer->listen(ServerName());
    connect(m_pServer, &QLocalServer::newConnection, this, &CSingleInstance::OnRequest);
}

void CSingleInstance::OnRequest()
{
    while (QLocalSocket* request = m_pServer->nextPendingConnection()) {
        request->disconnectFromServer();
        request->deleteLater();
    }
    QWidget* active = QApplication::activeModalWidget();
    if (!active)
        return;
    if (QWidget* parent = active->parentWidget())
        BringToFront(*parent->window());
    BringToFront(*active);
}

int CSingleInstance::HandOver() const
{
    if (ReachFirst())
        return 0;
    ShowUnreachable();
    return kFirstUnreachable;
}

bool CSingleInstance::ReachFirst() const
{
    const QDeadlineTimer deadline(kReachMs);
    do {
        QLocalSocket socket;
        socket.connectToServer(ServerName());
        if (socket.waitForConnected(kConnectStepMs)) {
            socket.disconnectFromServer();
            return true;
        }
        QThread::msleep(kRetryPauseMs);
    } while (!deadline.hasExpired());
    return false;
}

// In the language of the profile, read but never written.
void CSingleInstance::ShowUnreachable() const
{
    CIniFile profile;
    profile.m_bAutoReload = false;
    profile.m_bAutoSave = false;
    profile.Load(m_strProfilePath);
    CTexts texts;
    texts.LoadTexts(profile);
    const std::string text
        = CTexts::Fill(texts.GetText("Txt_ProfileInUse"), Utf8ToCp1252(m_strProfilePath), "");
    QMessageBox::warning(nullptr, ToQString(texts.GetText("Txt_Title")), ToQString(text));
}
