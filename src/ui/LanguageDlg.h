#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;
class QListWidgetItem;

// The language choice, at first start and from the window's context menu. No language may be
// chosen yet when it shows, so it keeps the English texts of its template.
class CLanguageDlg : public QDialog {
    Q_OBJECT
public:
    // languages: the names to offer (Windows-1252), in the order of the profile; preselected:
    // the entry to select, or empty (or unknown) for the first name.
    explicit CLanguageDlg(std::vector<std::string> languages, QWidget* parent = nullptr,
        const std::string& preselected = {});

    std::vector<std::string> m_astrLanguages;
    std::string m_strLanguage; // the chosen name, once the dialog returned Accepted

    // Stays open while no entry is selected.
    void accept() override;

private:
    QListWidget* m_pList = nullptr;
};
