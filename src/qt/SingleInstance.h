#pragma once

#include "platform/ProfileLock.h"

#include <QObject>
#include <QString>

#include <string>

class QLocalServer;

// One run per profile. The first start locks the profile and listens for later starts on a
// local socket named after the profile; a later start on the same profile asks it to bring
// its window to the front and ends without touching the profile.
class CSingleInstance : public QObject {
    Q_OBJECT
public:
    // How long a later start tries to reach the first, which may be starting up itself.
    static constexpr int kReachMs = 3000;
    // Exit status of a later start that could not reach the first run.
    static constexpr int kFirstUnreachable = 1;

    explicit CSingleInstance(const std::string& profilePath);
    ~CSingleInstance() override;

    // False when another run works on the profile. A lock that cannot be made at all (a
    // folder without locks) does not keep the program from running.
    bool IsFirst() const { return m_lock.State() != CProfileLock::EState::HeldElsewhere; }
    // For a later start: brings the first run's window forward (0), or tells the user in their
    // language that it cannot be reached (kFirstUnreachable).
    int HandOver() const;

private:
    void Listen();
    void OnRequest();
    bool ReachFirst() const;
    void ShowUnreachable() const;
    QString ServerName() const;

    std::string m_strProfilePath;
    CProfileLock m_lock;
    QLocalServer* m_pServer = nullptr;
};
