#pragma once

#include <functional>

// A listener's hold on a notification: while it lives the listener is called; once it is
// destroyed or reset, the listener is never called again. Move-only, so that a hold has one
// owner.
class CSubscription {
public:
    CSubscription() = default;
    explicit CSubscription(std::function<void()> cancel);
    CSubscription(CSubscription&& other) noexcept;
    CSubscription& operator=(CSubscription&& other) noexcept;
    CSubscription(const CSubscription&) = delete;
    CSubscription& operator=(const CSubscription&) = delete;
    ~CSubscription();

    void Reset();

private:
    std::function<void()> m_fnCancel;
};
