#pragma once

#include "window/DialogBehaviour.h"

#include <string>
#include <vector>

class CSettings;
class CTexts;

// The highest level and the origins that the price list pane lists.
class CDetailsChoice : public IDialogBehaviour {
public:
    CDetailsChoice(const CTexts& texts, CSettings& settings);

    int TemplateId() const override;
    // Lowers the stored highest level to the number of level titles at once, whether or not
    // the dialog is confirmed later.
    void OnInit(IWindowView& view) override;
    // OK stores MaxLevel and OriginMask.
    EAfter OnCommand(IWindowView& view, int id) override;

    const std::vector<std::string>& Levels() const { return m_astrLevels; }

private:
    void Store(const IWindowView& view);

    const CTexts& m_texts;
    CSettings& m_settings;
    std::vector<std::string> m_astrLevels; // level 1 first
    std::vector<std::string> m_astrOrigins; // origin 0 first
};
