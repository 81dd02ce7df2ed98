#pragma once

#include <QObject>

#include <functional>
#include <string>

class QSocketNotifier;

// A named local stream socket that only ever hears a knock: a later start connects and goes.
// Written on the system's sockets rather than Qt's network module, whose library and the
// libraries it pulls in (Kerberos, proxy discovery) cost every start milliseconds and
// megabytes for this one socket.
class CLocalSocket : public QObject {
public:
    // Listens at path, in a folder only the user can enter, taking the place of a socket that a
    // crashed run left there. onKnock runs on the window's thread once per connection.
    CLocalSocket(const std::string& path, std::function<void()> onKnock, QObject* parent = nullptr);
    ~CLocalSocket() override;
    CLocalSocket(const CLocalSocket&) = delete;
    CLocalSocket& operator=(const CLocalSocket&) = delete;

    bool IsListening() const { return m_nSocket >= 0; }

    // Whether a listener at path took a connection within timeoutMs.
    static bool Knock(const std::string& path, int timeoutMs);

private:
    bool Listen();
    void OnReadable();

    std::string m_strPath;
    std::function<void()> m_fnKnock;
    int m_nSocket = -1;
    QSocketNotifier* m_pNotifier = nullptr;
};
