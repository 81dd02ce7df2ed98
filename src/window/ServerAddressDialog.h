#pragma once

#include "window/DialogBehaviour.h"

#include <string>

class CTexts;

// Shows and changes the address of one server's price list.
class CServerAddressDialog : public IDialogBehaviour {
public:
    // address: as stored; "-" (no address) shows as an empty edit.
    CServerAddressDialog(const CTexts& texts, std::string server, const std::string& address);

    // What to store for the address typed: trimmed, "-" when empty.
    const std::string& Address() const { return m_strAddress; }

    int TemplateId() const override;
    void OnInit(IWindowView& view) override;
    // Over an address that is not http or https the dialog says so and stays open.
    EAfter OnCommand(IWindowView& view, int id) override;

    // The address to store for text typed into an address edit: trimmed, "-" when empty.
    static std::string StoredAddress(const std::string& typed);
    // Only web addresses are taken; an empty edit means no address.
    static bool IsTakenAddress(const std::string& typed);
    // Checks the address edit of view; false after the warning, with the edit focused.
    static bool CheckAddress(IWindowView& view, const CTexts& texts);

private:
    const CTexts& m_texts;
    std::string m_strServer;
    std::string m_strAddress;
};
