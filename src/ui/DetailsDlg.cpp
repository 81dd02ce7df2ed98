#include "ui/DetailsDlg.h"

#include "config/Settings.h"
#include "config/Texts.h"
#include "ui/DialogBuilder.h"
#include "ui/QtText.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>

namespace {

// Numbered texts run from first up to the first number without a text.
std::vector<std::string> ReadNumberedTexts(
    const CTexts& texts, const std::string& prefix, int first)
{
    std::vector<std::string> result;
    for (int n = first;; ++n) {
        std::string text = texts.GetText(prefix + std::to_string(n));
        if (text.empty())
            return result;
        result.push_back(std::move(text));
    }
}

std::string LevelEntry(int level, const std::string& name)
{
    std::string number = std::to_string(level);
    if (number.size() < 2)
        number.insert(0, 2 - number.size(), '0');
    return number + " - " + name;
}

} // namespace

CDetailsDlg::CDetailsDlg(const CTexts& texts, CSettings& settings, QWidget* parent)
    : QDialog(parent)
    , m_astrLevels(ReadNumberedTexts(texts, "Txt_Level", 1))
    , m_astrOrigins(ReadNumberedTexts(texts, "Txt_Origin", 0))
    , m_settings(settings)
{
    const int levels = static_cast<int>(m_astrLevels.size());
    if (m_settings.m_nMaxLevel > levels)
        m_settings.SetMaxLevel(levels);

    CDialogBuilder builder(CDialogTemplate::Load(137));
    builder.Build(*this);
    m_pLevels = builder.Control<QComboBox>(1027);
    m_pOrigins = builder.Control<QListWidget>(1029);
    connect(builder.Control<QAbstractButton>(1), &QAbstractButton::clicked, this, &QDialog::accept);
    connect(builder.Control<QAbstractButton>(2), &QAbstractButton::clicked, this, &QDialog::reject);

    builder.Control<QAbstractButton>(2)->setText(ToQString(texts.GetText("Txt_Cancel")));
    builder.Control<QLabel>(1026)->setText(ToQString(texts.GetText("Txt_MaxLevel") + ":"));
    builder.Control<QLabel>(1028)->setText(ToQString(texts.GetText("Txt_Origin") + ":"));

    for (int level = 1; level <= levels; ++level)
        m_pLevels->addItem(ToQString(LevelEntry(level, m_astrLevels[level - 1])), level);
    m_pLevels->setCurrentIndex(m_pLevels->findData(m_settings.m_nMaxLevel));

    for (size_t origin = 0; origin < m_astrOrigins.size(); ++origin) {
        const int bit = static_cast<int>(1u << (origin % 32));
        auto* item = new QListWidgetItem(ToQString(m_astrOrigins[origin]), m_pOrigins);
        item->setData(Qt::UserRole, bit);
        item->setSelected((m_settings.m_nOriginMask & bit) != 0);
    }
}

void CDetailsDlg::accept()
{
    const QVariant level = m_pLevels->currentData();
    m_settings.SetMaxLevel(level.isValid() ? level.toInt() : -1);

    int mask = 0;
    for (const QListWidgetItem* item : m_pOrigins->selectedItems())
        mask |= item->data(Qt::UserRole).toInt();
    m_settings.SetOriginMask(mask);
    QDialog::accept();
}
