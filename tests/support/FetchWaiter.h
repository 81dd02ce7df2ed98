#pragma once

#include "net/TransferWorker.h"
#include "platform/Subscription.h"

#include <condition_variable>
#include <mutex>
#include <vector>

// Blocks until transfers finish, as a test may and the window never does. It hears the same
// notification as the window and takes the responses the same way, from the fetch or from the
// application that owns one.
template <class TFetch> class CFetchWaiter {
public:
    explicit CFetchWaiter(TFetch& fetch)
        : m_fetch(fetch)
        , m_subscription(fetch.SubscribeFinished([this] {
            std::lock_guard lock(m_mutex);
            ++m_nNotes;
            m_ready.notify_all();
        }))
    {
    }

    // Blocks until responses are in and hands them over, in the order they finished.
    std::vector<STransferResponse> TakeSome()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            const int seen = m_nNotes;
            lock.unlock();
            std::vector<STransferResponse> taken = m_fetch.TakeFinished();
            lock.lock();
            if (!taken.empty())
                return taken;
            m_ready.wait(lock, [&] { return m_nNotes != seen; });
        }
    }

private:
    TFetch& m_fetch;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    int m_nNotes = 0; // notifications heard
    CSubscription m_subscription; // last: it ends before what its listener touches
};
