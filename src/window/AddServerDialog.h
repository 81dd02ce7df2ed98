#pragma once

#include "window/DialogBehaviour.h"

#include <functional>
#include <string>

class CTexts;

// Asks for the name of a server added by hand and, optionally, the address of its price list.
class CAddServerDialog : public IDialogBehaviour {
public:
    // Why the trimmed name cannot be added, in the user's language; empty when it can.
    using WhyRefused = std::function<std::string(const std::string& name)>;

    CAddServerDialog(const CTexts& texts, WhyRefused whyRefused);

    // Windows-1252, as typed (the template allows at most 128 characters).
    const std::string& Name() const { return m_strName; }
    // What to store as the address: trimmed, "-" when none was given.
    const std::string& Address() const { return m_strAddress; }

    int TemplateId() const override;
    void OnInit(IWindowView& view) override;
    // Over a refused name, or an address that is not http or https, the dialog says why and
    // stays open, the field selected for correction.
    EAfter OnCommand(IWindowView& view, int id) override;

private:
    const CTexts& m_texts;
    WhyRefused m_fnWhyRefused;
    std::string m_strName;
    std::string m_strAddress;
};
