#pragma once

#include "platform/Subscription.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>

// Everyone who wants to hear of one kind of event: a second listener joins the first instead of
// replacing it. Notify may run on another thread than Subscribe and the subscription's end:
// once a subscription has ended, its listener is not running and will not be called again.
// A listener must not subscribe or end a subscription of the same event while it is notified.
class CListeners {
public:
    CListeners();
    CListeners(const CListeners&) = delete;
    CListeners& operator=(const CListeners&) = delete;
    ~CListeners();

    [[nodiscard]] CSubscription Subscribe(std::function<void()> listener);
    void Notify() const;

private:
    // Shared with the subscriptions, so that one may outlive the event it listened to.
    struct SState {
        std::mutex mutex; // held while the listeners run, so that leaving waits for them
        std::map<int, std::function<void()>> listeners; // in the order they subscribed
        int nextId = 1;
    };
    std::shared_ptr<SState> m_pState;
};
