#pragma once

#include "ui/AboutDlg.h"

// The About box that announces a newer version of the program.
class CUpdateDlg : public CAboutDlg {
    Q_OBJECT
public:
    CUpdateDlg(const CTexts& texts, int major, int minor, QWidget* parent = nullptr);

    const int m_nMajor;
    const int m_nMinor;
};
