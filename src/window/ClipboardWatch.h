#pragma once

#include <optional>
#include <string>

class CListPaste;
class CListTemplates;
class CTexts;
class IClipboard;
class INotifier;
struct COfferSummary;

// Spares the player the trip to the window: a shopping list copied while another window has the
// focus is pasted and priced as an activation would do it, and the verdict is shown where the
// player looks. The face reports every clipboard change; the window pastes the list that
// TakeChange returns, calculates, and hands the result to AnnounceVerdict.
class CClipboardWatch {
public:
    // paste: the window's, so that activation and the watch share the last list taken.
    CClipboardWatch(IClipboard& clipboard, CListPaste& paste, const CListTemplates& templates,
        const CTexts& texts, INotifier& notifier);

    // The list to paste for this change (normalised, and from now on the last one pasted), or
    // nullopt: the watch is off, the window is active (its activation decides then), or the
    // clipboard holds no new list by the activation's rule. An emptied clipboard is no change.
    std::optional<std::string> TakeChange(bool watching, bool windowActive);
    // Notifies the verdict of the pasted list; nothing for a list without items.
    void AnnounceVerdict(const COfferSummary& summary);
    // "25,00 wT: 90,0% Bauernhofpreis · 102,9% Markt · 114,3% nach Gebühr", in the language and
    // number format of the texts; "25,00 wT: 1 Artikel unbekannt" instead when the catalogue
    // does not know an item; empty for a list without items.
    std::string VerdictText(const COfferSummary& summary) const;

private:
    std::string Number(double value, int decimals) const;

    IClipboard& m_clipboard;
    CListPaste& m_paste;
    const CListTemplates& m_templates;
    const CTexts& m_texts;
    INotifier& m_notifier;
};
