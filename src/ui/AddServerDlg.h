#pragma once

#include <QDialog>

#include <string>

class CTexts;
class QLineEdit;

// Asks for the name of a server added by hand.
class CAddServerDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAddServerDlg(const CTexts& texts, QWidget* parent = nullptr);

    std::string m_strName;  // Windows-1252, as typed (at most 128 characters)

    void accept() override;

private:
    QLineEdit* m_pName = nullptr;
};
