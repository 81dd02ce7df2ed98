#include "window/DetailsChoice.h"

#include "config/Settings.h"
#include "config/Texts.h"
#include "window/ControlIds.h"
#include "window/WindowView.h"

namespace {

// An origin's bit in the mask; the mask is an int, so origins beyond 31 share bits.
constexpr unsigned kOriginBits = 32;

// Numbered texts run from first up to the first number without a text.
std::vector<std::string> ReadNumberedTexts(
    const CTexts& texts, const std::string& prefix, int first)
{
    std::vector<std::string> result;
    for (int n = first;; ++n) {
        std::string text = texts.GetText(prefix + std::to_string(n));
        if (text.empty())
            return result;
        result.push_back(std::move(text));
    }
}

std::string LevelEntry(int level, const std::string& name)
{
    std::string number = std::to_string(level);
    if (number.size() < 2)
        number.insert(0, 2 - number.size(), '0');
    return number + " - " + name;
}

int OriginBit(size_t origin)
{
    return static_cast<int>(1u << (origin % kOriginBits));
}

} // namespace

CDetailsChoice::CDetailsChoice(const CTexts& texts, CSettings& settings)
    : m_texts(texts)
    , m_settings(settings)
    , m_astrLevels(ReadNumberedTexts(texts, "Txt_Level", 1))
    , m_astrOrigins(ReadNumberedTexts(texts, "Txt_Origin", 0))
{
}

int CDetailsChoice::TemplateId() const
{
    return IDD_DETAILS;
}

void CDetailsChoice::OnInit(IWindowView& view)
{
    const int levels = static_cast<int>(m_astrLevels.size());
    if (m_settings.MaxLevel() > levels)
        m_settings.SetMaxLevel(levels);

    view.SetText(IDC_CANCEL, m_texts.GetText("Txt_Cancel"));
    view.SetText(IDC_DETAILS_LEVEL_LABEL, m_texts.GetText("Txt_MaxLevel") + ":");
    view.SetText(IDC_DETAILS_ORIGIN_LABEL, m_texts.GetText("Txt_Origin") + ":");

    std::vector<std::string> entries;
    for (int level = 1; level <= levels; ++level)
        entries.push_back(LevelEntry(level, m_astrLevels[static_cast<size_t>(level - 1)]));
    view.SetItems(IDC_DETAILS_LEVELS, entries);
    const int maxLevel = m_settings.MaxLevel();
    view.SetCurrentItem(
        IDC_DETAILS_LEVELS, maxLevel >= 1 && maxLevel <= levels ? maxLevel - 1 : -1);

    std::vector<bool> selected;
    for (size_t origin = 0; origin < m_astrOrigins.size(); ++origin)
        selected.push_back((m_settings.OriginMask() & OriginBit(origin)) != 0);
    view.SetItems(IDC_DETAILS_ORIGINS, m_astrOrigins);
    view.SetSelectedItems(IDC_DETAILS_ORIGINS, selected);
}

IDialogBehaviour::EAfter CDetailsChoice::OnCommand(IWindowView& view, int id)
{
    if (id == IDC_OK) {
        Store(view);
        return EAfter::Accept;
    }
    return id == IDC_CANCEL ? EAfter::Cancel : EAfter::Stay;
}

void CDetailsChoice::Store(const IWindowView& view)
{
    const int current = view.CurrentItem(IDC_DETAILS_LEVELS);
    m_settings.SetMaxLevel(current >= 0 ? current + 1 : -1);

    const std::vector<bool> selected = view.SelectedItems(IDC_DETAILS_ORIGINS);
    int mask = 0;
    for (size_t origin = 0; origin < selected.size() && origin < m_astrOrigins.size(); ++origin) {
        if (selected[origin])
            mask |= OriginBit(origin);
    }
    m_settings.SetOriginMask(mask);
}
