#pragma once

#include <QDialog>

#include <string>
#include <vector>

class CSettings;
class CTexts;
class QComboBox;
class QListWidget;

// The highest level and the origins that the price list pane lists.
class CDetailsDlg : public QDialog {
    Q_OBJECT
public:
    // Lowers the stored highest level to the number of level titles at once, whether or not
    // the dialog is confirmed later.
    CDetailsDlg(const CTexts& texts, CSettings& settings, QWidget* parent = nullptr);

    std::vector<std::string> m_astrLevels;
    std::vector<std::string> m_astrOrigins;

    // Stores MaxLevel and OriginMask.
    void accept() override;

private:
    CSettings& m_settings;
    QComboBox* m_pLevels = nullptr;
    QListWidget* m_pOrigins = nullptr;
};
