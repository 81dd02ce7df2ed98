#include "qt/LocalSocket.h"

#include <QSocketNotifier>

#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr int kBacklog = 8;

// False when the path does not fit a socket address.
bool ToAddress(const std::string& path, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

} // namespace

CLocalSocket::CLocalSocket(const std::string& path, std::function<void()> onKnock, QObject* parent)
    : QObject(parent)
    , m_strPath(path)
    , m_fnKnock(std::move(onKnock))
{
    if (!Listen())
        return;
    m_pNotifier = new QSocketNotifier(m_nSocket, QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &CLocalSocket::OnReadable);
}

CLocalSocket::~CLocalSocket()
{
    if (m_nSocket < 0)
        return;
    delete m_pNotifier;
    ::close(m_nSocket);
    ::unlink(m_strPath.c_str());
}

bool CLocalSocket::Listen()
{
    sockaddr_un address;
    if (!ToAddress(m_strPath, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    // The lock is ours: whatever lies at the path was left by a run that has ended.
    ::unlink(m_strPath.c_str());
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0
        || ::chmod(m_strPath.c_str(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd, kBacklog) != 0) {
        ::close(fd);
        return false;
    }
    m_nSocket = fd;
    return true;
}

void CLocalSocket::OnReadable()
{
    bool knocked = false;
    for (int client; (client = ::accept4(m_nSocket, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
        ::close(client);
        knocked = true;
    }
    if (knocked && m_fnKnock)
        m_fnKnock();
}

bool CLocalSocket::Knock(const std::string& path, int timeoutMs)
{
    sockaddr_un address;
    if (!ToAddress(path, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // A full backlog holds the connection until the listener accepts again, up to this time.
    const timeval limit = { timeoutMs / 1000, (timeoutMs % 1000) * 1000 };
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof(limit));
    const bool reached = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return reached;
}
