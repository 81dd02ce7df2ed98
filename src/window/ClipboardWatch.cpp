#include "window/ClipboardWatch.h"

#include "calc/Amount.h"
#include "calc/ListPaste.h"
#include "calc/ListReader.h"
#include "calc/OfferCalculator.h"
#include "config/Texts.h"
#include "window/Notifier.h"

namespace {

// One change read once: the desktop may have to fetch the text from another program.
class CClipboardSnapshot : public IClipboard {
public:
    explicit CClipboardSnapshot(IClipboard& clipboard)
        : m_clipboard(clipboard)
    {
    }

    // The watch reads with one limit only; an owner that did not answer is not asked again.
    std::optional<std::string> ReadText(std::size_t limit) override
    {
        if (!m_bRead) {
            m_text = m_clipboard.ReadText(limit);
            m_bRead = true;
        }
        return m_text;
    }
    bool HoldsOwnText() override { return m_clipboard.HoldsOwnText(); }

private:
    IClipboard& m_clipboard;
    std::optional<std::string> m_text;
    bool m_bRead = false;
};

} // namespace

CClipboardWatch::CClipboardWatch(IClipboard& clipboard, CListPaste& paste,
    const CListTemplates& templates, const CTexts& texts, INotifier& notifier)
    : m_clipboard(clipboard)
    , m_paste(paste)
    , m_templates(templates)
    , m_texts(texts)
    , m_notifier(notifier)
{
}

std::optional<std::string> CClipboardWatch::TakeChange(bool watching, bool windowActive)
{
    if (!watching || windowActive)
        return std::nullopt;
    CClipboardSnapshot snapshot(m_clipboard);
    // Clearing the input behind the player's back would lose the list for nothing.
    const std::optional<std::string> text = snapshot.ReadText(kMaxListBytes);
    if (!text || text->empty() || !m_paste.HasNewList(snapshot, m_templates))
        return std::nullopt;
    return m_paste.Paste(snapshot, m_templates);
}

void CClipboardWatch::AnnounceVerdict(const COfferSummary& summary)
{
    const std::string text = VerdictText(summary);
    if (!text.empty())
        m_notifier.Notify(m_texts.GetText("Txt_Title"), text);
}

std::string CClipboardWatch::VerdictText(const COfferSummary& summary) const
{
    if (!summary.bPriced)
        return {};
    const std::string sum = Number(summary.offeredSum, 2) + " " + m_texts.GetText("Txt_Currency");
    // A percentage over items priced at zero would look certain and be wrong.
    if (summary.nUnknown > 0)
        return CTexts::Fill(
            m_texts.GetText(summary.nUnknown == 1 ? "Txt_WatchUnknownOne" : "Txt_WatchUnknownMany"),
            { sum, std::to_string(summary.nUnknown) });
    const std::string farm = Number(summary.farmPercent, 1) + "%";
    if (!summary.bMarketPriced)
        return CTexts::Fill(m_texts.GetText("Txt_WatchVerdictFarm"), { sum, farm });
    return CTexts::Fill(m_texts.GetText("Txt_WatchVerdict"),
        { sum, farm, Number(summary.marketPercent, 1) + "%",
            Number(summary.netMarketPercent, 1) + "%" });
}

std::string CClipboardWatch::Number(double value, int decimals) const
{
    return ReplaceDecimal(FormatFixed(value, decimals), m_texts.GetText("Txt_Decimal"));
}
