#pragma once

#include "window/AboutDialog.h"

// The About box that announces a newer version of the program.
class CUpdateNotice : public CAboutDialog {
public:
    CUpdateNotice(const CTexts& texts, int major, int minor);

    void OnInit(IWindowView& view) override;

private:
    int m_nMajor;
    int m_nMinor;
};
