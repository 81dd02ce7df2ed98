#include "support/FakeWindowView.h"

#include "window/DialogTemplate.h"
#include "window/DialogUnits.h"

#include <utility>

void CFakeWindowView::LayOut(int templateId)
{
    const CDialogTemplate dialog = CDialogTemplate::Load(templateId);
    const CDialogUnits units(6, 13);
    m_size = units.ToPixels({ 0, 0, dialog.m_size.width, dialog.m_size.height }).Size();
    for (const CDialogControl& control : dialog.m_controls) {
        m_controls[control.nId].rect = units.ToPixels(control.rect);
        m_controls[control.nId].strText = control.strText;
    }
}

void CFakeWindowView::CPostQueue::Push(std::function<void()> task)
{
    std::lock_guard lock(m_mutex);
    m_tasks.push_back(std::move(task));
}

std::vector<std::function<void()>> CFakeWindowView::CPostQueue::Take()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_tasks, {});
}

int CFakeWindowView::RunPosted()
{
    int ran = 0;
    for (auto tasks = m_posted.Take(); !tasks.empty(); tasks = m_posted.Take()) {
        for (auto& task : tasks) {
            task();
            ++ran;
        }
    }
    return ran;
}

bool CFakeWindowView::Answer(IDialogBehaviour& dialog, CFakeWindowView& view, int answerId)
{
    dialog.OnInit(view);
    return dialog.OnCommand(view, answerId) == IDialogBehaviour::EAfter::Accept;
}

const CFakeWindowView::SControl* CFakeWindowView::Find(int id) const
{
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : &found->second;
}

std::string CFakeWindowView::Text(int id) const
{
    const SControl* control = Find(id);
    return control ? control->strText : std::string();
}

bool CFakeWindowView::IsChecked(int id) const
{
    const SControl* control = Find(id);
    return control && control->bChecked;
}

bool CFakeWindowView::IsShown(int id) const
{
    const SControl* control = Find(id);
    return !control || control->bShown;
}

void CFakeWindowView::SetItems(int id, const std::vector<std::string>& items)
{
    SControl& control = m_controls[id];
    control.items = items;
    control.selected.assign(items.size(), false);
    control.nCurrent = -1;
}

void CFakeWindowView::AddItem(int id, const std::string& item)
{
    SControl& control = m_controls[id];
    control.items.push_back(item);
    control.selected.push_back(false);
}

std::vector<std::string> CFakeWindowView::Items(int id) const
{
    const SControl* control = Find(id);
    return control ? control->items : std::vector<std::string>();
}

int CFakeWindowView::CurrentItem(int id) const
{
    const SControl* control = Find(id);
    return control ? control->nCurrent : -1;
}

std::vector<bool> CFakeWindowView::SelectedItems(int id) const
{
    const SControl* control = Find(id);
    return control ? control->selected : std::vector<bool>();
}

void CFakeWindowView::SetSelectedItems(int id, const std::vector<bool>& selected)
{
    SControl& control = m_controls[id];
    control.selected = selected;
    control.selected.resize(control.items.size(), false);
}

SRect CFakeWindowView::ControlRect(int id) const
{
    const SControl* control = Find(id);
    return control ? control->rect : SRect();
}

void CFakeWindowView::ShowWarning(const std::string& text, const std::string&)
{
    m_warnings.push_back(text);
}

bool CFakeWindowView::RunDialog(IDialogBehaviour& dialog)
{
    m_dialogsRun.push_back(dialog.TemplateId());
    CFakeWindowView dialogView;
    if (m_fnDialog)
        return m_fnDialog(dialog, dialogView);
    return Answer(dialog, dialogView, 1);
}

void CFakeWindowView::ReplaceTextUndoably(int id, const std::string& text)
{
    SControl& control = m_controls[id];
    control.strText = text;
    ++control.nUndoSteps;
}

double CFakeWindowView::TextWidth(int, std::string_view text) const
{
    double width = 0;
    for (const char c : text)
        width += c == '\t' ? 0 : 6;
    return width;
}

void CFakeWindowView::SetLink(int id, const std::string& text, const std::string& url)
{
    m_controls[id].strText = text;
    m_controls[id].strUrl = url;
}

void CFakeWindowView::SetCommandText(int command, const std::string& text)
{
    m_commands[command] = text;
}
