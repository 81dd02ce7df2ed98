#pragma once

#include "ui/DialogBuilder.h"

#include <QDialog>

class CHyperLink;
class CTexts;

// The About box: the program's version and a link to its web page.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(const CTexts& texts, QWidget* parent = nullptr);

    CHyperLink* Link() const { return m_pLink; }

protected:
    // For the About variants built from other templates with the same controls.
    CAboutDlg(int templateId, const CTexts& texts, QWidget* parent);

    CDialogBuilder m_builder;
    CHyperLink* m_pLink = nullptr;
};
