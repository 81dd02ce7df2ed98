#pragma once

// Told by the configuration loader when the server list is due; the window then fetches it
// once it runs, without waiting for the network.
class IServerListUpdate {
public:
    virtual ~IServerListUpdate() = default;
    virtual void NoteServerListDue() = 0;
};
