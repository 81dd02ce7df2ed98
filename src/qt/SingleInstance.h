#pragma once

#include "platform/ProfileLock.h"

#include <QObject>

#include <string>

class CLocalSocket;

// One run per profile. The first start locks the profile and listens for later starts on a
// local socket named after the profile, in a folder only this user can enter; a later start
// on the same profile asks it to bring its window to the front and ends without touching the
// profile.
class CSingleInstance : public QObject {
    Q_OBJECT
public:
    // How long a later start tries to reach the first, which may be starting up itself.
    static constexpr int kReachMs = 3000;
    explicit CSingleInstance(const std::string& profilePath);
    ~CSingleInstance() override;

    // True when this start holds the profile's lock and runs.
    bool IsFirst() const { return m_lock.State() == CProfileLock::EState::Held; }
    // For any other start: brings the first run's window forward (0), or tells the user why
    // this start does not run (SProfileInUse::kExitStatus).
    int HandOver() const;

private:
    void Listen();
    void OnRequest();
    bool ReachFirst() const;
    std::string SocketPath() const;

    std::string m_strProfilePath;
    CProfileLock m_lock;
    std::string m_strSocketPath;
    CLocalSocket* m_pSocket = nullptr;
};
