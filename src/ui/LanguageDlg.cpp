#include "ui/LanguageDlg.h"

#include "ui/DialogBuilder.h"
#include "ui/QtText.h"

#include <QAbstractButton>
#include <QListWidget>

CLanguageDlg::CLanguageDlg(
    std::vector<std::string> languages, QWidget* parent, const std::string& preselected)
    : QDialog(parent)
    , m_astrLanguages(std::move(languages))
{
    CDialogBuilder builder(CDialogTemplate::Load(133));
    builder.Build(*this);
    m_pList = builder.Control<QListWidget>(1009);
    connect(builder.Control<QAbstractButton>(1), &QAbstractButton::clicked, this, &QDialog::accept);
    connect(builder.Control<QAbstractButton>(2), &QAbstractButton::clicked, this, &QDialog::reject);

    // The list sorts as names are added; the first name of the profile is preselected,
    // wherever the sorting put it, unless the caller names the current language.
    QListWidgetItem* first = nullptr;
    QListWidgetItem* current = nullptr;
    for (const std::string& language : m_astrLanguages) {
        auto* item = new QListWidgetItem(ToQString(language), m_pList);
        if (!first)
            first = item;
        if (!current && !preselected.empty() && language == preselected)
            current = item;
    }
    if (current || first)
        m_pList->setCurrentItem(current ? current : first);

    // Posted, so the double click has finished before the dialog closes.
    connect(m_pList, &QListWidget::itemDoubleClicked, this,
        [this] { QMetaObject::invokeMethod(this, &CLanguageDlg::accept, Qt::QueuedConnection); });
}

void CLanguageDlg::accept()
{
    const QList<QListWidgetItem*> selected = m_pList->selectedItems();
    if (selected.isEmpty())
        return;
    m_strLanguage = FromQString(selected.first()->text());
    QDialog::accept();
}
