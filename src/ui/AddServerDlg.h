#pragma once

#include <QDialog>

#include <functional>
#include <string>

class CTexts;
class QLineEdit;

// Asks for the name of a server added by hand.
class CAddServerDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAddServerDlg(const CTexts& texts, QWidget* parent = nullptr);

    std::string m_strName; // Windows-1252, as typed (at most 128 characters)
    // Why the trimmed name cannot be added, in the user's language; empty when it can. Over a
    // refused name the dialog stays open and says why.
    std::function<std::string(const std::string& name)> m_fnWhyRefused;

    void accept() override;

private:
    void ShowRefusal(const std::string& why);

    QLineEdit* m_pName = nullptr;
    QString m_strOk;
};
