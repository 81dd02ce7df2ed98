#pragma once

#include "window/DialogBehaviour.h"

class CTexts;

// The About box: the program's version, what it is, its licence and a link to its web page.
class CAboutDialog : public IDialogBehaviour {
public:
    explicit CAboutDialog(const CTexts& texts);

    int TemplateId() const override { return m_nTemplateId; }
    void OnInit(IWindowView& view) override;
    EAfter OnCommand(IWindowView& view, int id) override;

protected:
    // For the About variants built from other templates with the same title, version and link.
    CAboutDialog(int templateId, const CTexts& texts);

    void ShowTitleVersionAndLink(IWindowView& view) const;

    const CTexts& m_texts;

private:
    int m_nTemplateId;
};
