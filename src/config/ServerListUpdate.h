#pragma once

class IUserInterface;

// The download of the server list, run by the configuration loader when the list is due.
class IServerListUpdate {
public:
    virtual ~IServerListUpdate() = default;
    virtual bool UpdateServerList(IUserInterface* ui) = 0;
};
