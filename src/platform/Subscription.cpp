#include "platform/Subscription.h"

#include <utility>

CSubscription::CSubscription(std::function<void()> cancel)
    : m_fnCancel(std::move(cancel))
{
}

CSubscription::CSubscription(CSubscription&& other) noexcept
    : m_fnCancel(std::exchange(other.m_fnCancel, nullptr))
{
}

CSubscription& CSubscription::operator=(CSubscription&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_fnCancel = std::exchange(other.m_fnCancel, nullptr);
    }
    return *this;
}

CSubscription::~CSubscription()
{
    Reset();
}

void CSubscription::Reset()
{
    if (const std::function<void()> cancel = std::exchange(m_fnCancel, nullptr))
        cancel();
}
