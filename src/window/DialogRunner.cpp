#include "window/DialogRunner.h"

#include <utility>

CDialogRunner::CDialogRunner(IDialogBehaviour& behaviour, IWindowView& view, End end)
    : m_behaviour(behaviour)
    , m_view(view)
    , m_end(std::move(end))
{
}

void CDialogRunner::Init()
{
    Run([this] {
        m_behaviour.OnInit(m_view);
        return IDialogBehaviour::EAfter::Stay;
    });
}

void CDialogRunner::Command(int id)
{
    Run([this, id] { return m_behaviour.OnCommand(m_view, id); });
}

void CDialogRunner::DoubleClick(int id, bool shown)
{
    if (shown)
        Run([this, id] { return m_behaviour.OnDoubleClick(m_view, id); });
}

void CDialogRunner::Run(const std::function<IDialogBehaviour::EAfter()>& call)
{
    if (m_bInBehaviour)
        return;
    IDialogBehaviour::EAfter after = IDialogBehaviour::EAfter::Stay;
    {
        struct SBusy {
            bool& flag;
            ~SBusy() { flag = false; }
        } busy { m_bInBehaviour };
        m_bInBehaviour = true;
        after = call();
    }
    if (after != IDialogBehaviour::EAfter::Stay)
        m_end(after == IDialogBehaviour::EAfter::Accept);
}
