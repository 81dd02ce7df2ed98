#include "platform/Listeners.h"

#include <utility>

CListeners::CListeners()
    : m_pState(std::make_shared<SState>())
{
}

CListeners::~CListeners() = default;

CSubscription CListeners::Subscribe(std::function<void()> listener)
{
    std::lock_guard lock(m_pState->mutex);
    const int id = m_pState->nextId++;
    m_pState->listeners.emplace(id, std::move(listener));
    return CSubscription([weak = std::weak_ptr<SState>(m_pState), id] {
        if (const std::shared_ptr<SState> state = weak.lock()) {
            std::lock_guard lock(state->mutex);
            state->listeners.erase(id);
        }
    });
}

void CListeners::Notify() const
{
    std::lock_guard lock(m_pState->mutex);
    for (const auto& [id, listener] : m_pState->listeners)
        listener();
}
