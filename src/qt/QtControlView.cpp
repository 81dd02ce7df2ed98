#include "qt/QtControlView.h"

#include "qt/DialogBuilder.h"
#include "qt/HyperLink.h"
#include "qt/QtDialog.h"
#include "qt/QtText.h"
#include "window/SelectionRuns.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QItemSelection>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

QStringList ToQStringList(const std::vector<std::string>& items)
{
    QStringList list;
    list.reserve(static_cast<qsizetype>(items.size()));
    for (const std::string& item : items)
        list << ToQString(item);
    return list;
}

QItemSelection RunsOfRows(const QAbstractItemModel& model, const std::vector<bool>& selected)
{
    QItemSelection selection;
    ForEachSelectedRun(
        selected, static_cast<size_t>(model.rowCount()), [&](size_t first, size_t last) {
            selection.select(
                model.index(static_cast<int>(first), 0), model.index(static_cast<int>(last), 0));
        });
    return selection;
}

} // namespace

template <class View>
CQtControls<View>::CQtControls(QWidget& window, Lookup lookup)
    : m_window(window)
    , m_lookup(std::move(lookup))
{
}

template <class View>
CQtControls<View>::CQtControls(QWidget& window, const CDialogBuilder& builder)
    : CQtControls(window, [&builder](int id) { return builder.Control(id); })
{
}

template <class View> void CQtControls<View>::SetTitle(const std::string& text)
{
    m_window.setWindowTitle(ToQString(text));
}

template <class View> void CQtControls<View>::SetText(int id, const std::string& text)
{
    const QString qtext = ToQString(text);
    QWidget* control = Control(id);
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(qtext);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(qtext);
    else if (auto* line = qobject_cast<QLineEdit*>(control))
        line->setText(qtext);
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(control))
        edit->setPlainText(qtext);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(qtext);
}

template <class View> std::string CQtControls<View>::Text(int id) const
{
    QWidget* control = Control(id);
    if (auto* label = qobject_cast<QLabel*>(control))
        return FromQString(label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return FromQString(button->text());
    if (auto* line = qobject_cast<QLineEdit*>(control))
        return FromQString(line->text());
    if (auto* edit = qobject_cast<QPlainTextEdit*>(control))
        return FromQString(edit->toPlainText());
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return FromQString(combo->currentText());
    if (auto* group = qobject_cast<QGroupBox*>(control))
        return FromQString(group->title());
    return {};
}

template <class View> void CQtControls<View>::SetToolTip(int id, const std::string& text)
{
    if (QWidget* control = Control(id))
        control->setToolTip(ToQString(text));
}

template <class View>
void CQtControls<View>::SetLink(int id, const std::string& text, const std::string& url)
{
    if (auto* link = Control<CHyperLink>(id)) {
        link->SetLinkText(text);
        link->SetLinkUrl(url);
    }
}

template <class View> void CQtControls<View>::SetChecked(int id, bool checked)
{
    if (auto* button = Control<QAbstractButton>(id))
        button->setChecked(checked);
}

template <class View> bool CQtControls<View>::IsChecked(int id) const
{
    const auto* button = Control<QAbstractButton>(id);
    return button && button->isChecked();
}

template <class View> void CQtControls<View>::Show(int id, bool shown)
{
    if (QWidget* control = Control(id))
        control->setVisible(shown);
}

template <class View> void CQtControls<View>::SetFocus(int id)
{
    QWidget* control = Control(id);
    if (!control)
        return;
    if (auto* line = qobject_cast<QLineEdit*>(control))
        line->selectAll();
    control->setFocus();
}

template <class View>
void CQtControls<View>::SetItems(int id, const std::vector<std::string>& items)
{
    QWidget* control = Control(id);
    if (auto* list = qobject_cast<QListWidget*>(control)) {
        list->clear();
        list->addItems(ToQStringList(items));
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        // The behaviour's own changes are no user's choice.
        const QSignalBlocker quiet(combo);
        combo->clear();
        combo->addItems(ToQStringList(items));
    }
}

template <class View> void CQtControls<View>::AddItem(int id, const std::string& item)
{
    QWidget* control = Control(id);
    if (auto* list = qobject_cast<QListWidget*>(control))
        list->addItem(ToQString(item));
    else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        const QSignalBlocker quiet(combo);
        combo->addItem(ToQString(item));
    }
}

template <class View> std::vector<std::string> CQtControls<View>::Items(int id) const
{
    std::vector<std::string> items;
    QWidget* control = Control(id);
    if (auto* list = qobject_cast<QListWidget*>(control)) {
        for (int row = 0; row < list->count(); ++row)
            items.push_back(FromQString(list->item(row)->text()));
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        for (int row = 0; row < combo->count(); ++row)
            items.push_back(FromQString(combo->itemText(row)));
    }
    return items;
}

template <class View> int CQtControls<View>::CurrentItem(int id) const
{
    QWidget* control = Control(id);
    if (auto* list = qobject_cast<QListWidget*>(control))
        return list->currentRow();
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->currentIndex();
    return -1;
}

// In a list box that selects one entry the current entry is the selected one; in the others it
// is only the entry with the focus, and the selection stays as it is.
template <class View> void CQtControls<View>::SetCurrentItem(int id, int index)
{
    QWidget* control = Control(id);
    if (auto* list = qobject_cast<QListWidget*>(control)) {
        if (list->selectionMode() == QAbstractItemView::SingleSelection)
            list->setCurrentRow(index);
        else
            list->setCurrentRow(index, QItemSelectionModel::NoUpdate);
        if (QListWidgetItem* item = list->item(index))
            list->scrollToItem(item);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        const QSignalBlocker quiet(combo);
        combo->setCurrentIndex(index);
    }
}

template <class View> std::vector<bool> CQtControls<View>::SelectedItems(int id) const
{
    const auto* list = Control<QListWidget>(id);
    if (!list)
        return {};
    std::vector<bool> selected(static_cast<size_t>(list->count()), false);
    for (const QModelIndex& index : list->selectionModel()->selectedIndexes())
        selected[static_cast<size_t>(index.row())] = true;
    return selected;
}

template <class View>
void CQtControls<View>::SetSelectedItems(int id, const std::vector<bool>& selected)
{
    if (auto* list = Control<QListWidget>(id)) {
        list->selectionModel()->select(
            RunsOfRows(*list->model(), selected), QItemSelectionModel::ClearAndSelect);
    }
}

template <class View> SRect CQtControls<View>::ControlRect(int id) const
{
    const QWidget* control = Control(id);
    if (!control)
        return {};
    const QPoint topLeft = control->mapTo(&m_window, QPoint(0, 0));
    return { topLeft.x(), topLeft.y(), control->width(), control->height() };
}

template <class View> void CQtControls<View>::Place(int id, const SRect& rect)
{
    QWidget* control = Control(id);
    if (!control)
        return;
    QPoint topLeft(rect.x, rect.y);
    if (QWidget* parent = control->parentWidget(); parent && parent != &m_window)
        topLeft = parent->mapFrom(&m_window, topLeft);
    control->setGeometry(topLeft.x(), topLeft.y(), rect.width, rect.height);
}

template <class View>
void CQtControls<View>::ShowWarning(const std::string& text, const std::string& buttonText)
{
    QMessageBox box(
        QMessageBox::Warning, m_window.windowTitle(), ToQString(text), QMessageBox::Ok, &m_window);
    box.button(QMessageBox::Ok)->setText(ToQString(buttonText));
    box.exec();
}

template <class View> bool CQtControls<View>::RunDialog(IDialogBehaviour& dialog)
{
    return CQtDialog::Run(dialog, &m_window);
}

template class CQtControls<IWindowView>;
template class CQtControls<IMainWindowView>;
