#pragma once

#include "net/Fetcher.h"
#include "platform/Subscription.h"

#include <algorithm>
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
            {
                std::lock_guard lock(m_mutex);
                ++m_nNotes;
            }
            m_ready.notify_all();
        }))
    {
    }

    // Blocks until responses are in and hands them over, in the order they finished.
    std::vector<STransferResponse> TakeSome()
    {
        for (;;) {
            const int seen = Notes();
            std::vector<STransferResponse> taken = m_fetch.TakeFinished();
            if (!taken.empty())
                return taken;
            std::unique_lock lock(m_mutex);
            m_ready.wait(lock, [&] { return m_nNotes != seen; });
        }
    }

    // Blocks until this transfer (an id of StartFetch) has finished; those that finish first
    // wait here for their own call.
    STransferResponse Wait(int id)
    {
        if (id == 0)
            return CFetcher::NoSession();
        for (;;) {
            const auto found = std::find_if(m_taken.begin(), m_taken.end(),
                [id](const STransferResponse& response) { return response.id == id; });
            if (found != m_taken.end()) {
                STransferResponse response = std::move(*found);
                m_taken.erase(found);
                return response;
            }
            for (STransferResponse& response : TakeSome())
                m_taken.push_back(std::move(response));
        }
    }

private:
    int Notes()
    {
        std::lock_guard lock(m_mutex);
        return m_nNotes;
    }

    TFetch& m_fetch;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    int m_nNotes = 0; // notifications heard
    std::vector<STransferResponse> m_taken; // finished before their Wait
    CSubscription m_subscription; // last: it ends before what its listener touches
};
