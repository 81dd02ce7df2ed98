#include "qt/DialogBuilder.h"

#include "qt/DropDownList.h"
#include "qt/ProgramIcon.h"
#include "qt/QtDialogUnits.h"
#include "qt/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextOption>

#include <algorithm>

namespace {

const char* const kIdProperty = "dialogControlId";
constexpr int kMaxDropDownRows = 20;

QFont TemplateFont(const CDialogTemplate& dialogTemplate)
{
    QFont font(ToQString(dialogTemplate.m_strFontFamily), dialogTemplate.m_nPointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QRect ToQRect(const SRect& rect)
{
    return QRect(rect.x, rect.y, rect.width, rect.height);
}

Qt::ScrollBarPolicy ScrollBar(bool shown)
{
    return shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
}

void SetUpLabel(QLabel& label, const CDialogControl& control)
{
    label.setTextFormat(Qt::PlainText);
    label.setText(ToQString(control.strText));
    // Static text breaks at word boundaries inside its rectangle, as template layouts expect.
    label.setWordWrap(true);
    const Qt::Alignment horizontal
        = control.kind == CDialogControl::LabelRight ? Qt::AlignRight : Qt::AlignLeft;
    label.setAlignment(horizontal | Qt::AlignTop);
}

void SetUpButton(QPushButton& button, const CDialogControl& control)
{
    button.setText(ToQString(control.strText));
    // In a QDialog every push button would take Return while it has the focus; only the
    // default button may.
    const bool isDefault = control.kind == CDialogControl::DefaultButton;
    button.setAutoDefault(isDefault);
    button.setDefault(isDefault);
}

void SetUpList(QListWidget& list, const CDialogControl& control)
{
    if (control.Has(CDialogControl::FreeSelect))
        list.setSelectionMode(QAbstractItemView::MultiSelection);
    else if (control.Has(CDialogControl::ExtendedSelect))
        list.setSelectionMode(QAbstractItemView::ExtendedSelection);
    else
        list.setSelectionMode(QAbstractItemView::SingleSelection);
    list.setSortingEnabled(control.Has(CDialogControl::Sort));
    list.setVerticalScrollBarPolicy(
        control.Has(CDialogControl::VScroll) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    list.setHorizontalScrollBarPolicy(ScrollBar(control.Has(CDialogControl::HScroll)));
}

void SetUpMultilineEdit(QPlainTextEdit& edit, const CDialogControl& control)
{
    edit.setPlainText(ToQString(control.strText));
    edit.setReadOnly(control.Has(CDialogControl::ReadOnly));
    const bool wrap
        = !control.Has(CDialogControl::AutoHScroll) && !control.Has(CDialogControl::HScroll);
    edit.setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    edit.setVerticalScrollBarPolicy(ScrollBar(control.Has(CDialogControl::VScroll)));
    // Unwrapped lines wider than the edit stay within reach, as the caret alone would not
    // bring them into view in a read-only edit.
    edit.setHorizontalScrollBarPolicy(control.Has(CDialogControl::HScroll) ? Qt::ScrollBarAlwaysOn
            : wrap                                                         ? Qt::ScrollBarAlwaysOff
                                                                           : Qt::ScrollBarAsNeeded);
    // Tab moves on to the next control, as in any dialog; the edits show tables, not take them.
    edit.setTabChangesFocus(true);
}

void SetUpLineEdit(QLineEdit& edit, const CDialogControl& control)
{
    edit.setText(ToQString(control.strText));
    edit.setReadOnly(control.Has(CDialogControl::ReadOnly));
    if (control.nMaxLength > 0)
        edit.setMaxLength(control.nMaxLength);
}

} // namespace

CDialogBuilder::CDialogBuilder(CDialogTemplate dialogTemplate)
    : m_template(std::move(dialogTemplate))
    , m_units(QtDialogUnits(TemplateFont(m_template)))
{
}

void CDialogBuilder::SetFactory(int id, Factory factory)
{
    m_factories.insert(id, std::move(factory));
}

QFont CDialogBuilder::Font() const
{
    return TemplateFont(m_template);
}

void CDialogBuilder::Build(QDialog& dialog)
{
    dialog.setWindowTitle(ToQString(m_template.m_strTitle));
    dialog.setFont(Font());
    m_units = QtDialogUnits(Font(), &dialog);

    for (const CDialogControl& control : m_template.m_controls) {
        QWidget* widget = Create(control, &dialog);
        SetUp(widget, control);
        if (control.nId != -1)
            m_controls.insert(control.nId, widget);
    }

    const QSize size(
        m_units.ToPixelsX(m_template.m_size.width), m_units.ToPixelsY(m_template.m_size.height));
    if (m_template.m_bResizable) {
        dialog.setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
        dialog.resize(size);
    } else {
        dialog.setFixedSize(size);
    }
}

QWidget* CDialogBuilder::Create(const CDialogControl& control, QWidget* parent) const
{
    const auto factory = m_factories.constFind(control.nId);
    if (factory != m_factories.constEnd()) {
        if (QWidget* widget = (*factory)(parent))
            return widget;
    }
    switch (control.kind) {
    case CDialogControl::Label:
    case CDialogControl::LabelRight:
    case CDialogControl::Icon:
        return new QLabel(parent);
    case CDialogControl::Button:
    case CDialogControl::DefaultButton:
        return new QPushButton(parent);
    case CDialogControl::CheckBox:
        return new QCheckBox(parent);
    case CDialogControl::DropDownList:
        return new CDropDownList(parent);
    case CDialogControl::ListBox:
        return new QListWidget(parent);
    case CDialogControl::Edit:
        if (control.Has(CDialogControl::Multiline))
            return new QPlainTextEdit(parent);
        return new QLineEdit(parent);
    case CDialogControl::GroupBox:
        return new QGroupBox(parent);
    }
    return new QWidget(parent);
}

void CDialogBuilder::SetUp(QWidget* widget, const CDialogControl& control) const
{
    SetControlId(*widget, control.nId);
    QRect rect = ToQRect(m_units.ToPixels(control.rect));

    switch (control.kind) {
    case CDialogControl::Label:
    case CDialogControl::LabelRight:
        if (auto* label = qobject_cast<QLabel*>(widget))
            SetUpLabel(*label, control);
        break;
    case CDialogControl::Icon:
        // An icon keeps its own size; the only icon the templates name is the program's.
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setPixmap(ProgramIcon().pixmap(32, 32));
            rect.setSize(QSize(32, 32));
        }
        break;
    case CDialogControl::Button:
    case CDialogControl::DefaultButton:
        if (auto* button = qobject_cast<QPushButton*>(widget))
            SetUpButton(*button, control);
        break;
    case CDialogControl::CheckBox:
        if (auto* check = qobject_cast<QCheckBox*>(widget))
            check->setText(ToQString(control.strText));
        break;
    case CDialogControl::DropDownList:
        // The template's height includes the open list; the closed box is as high as its font
        // needs, and the open list shows as many entries as the rest of the height holds.
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            combo->setEditable(false);
            const int boxHeight = std::min(rect.height(), combo->sizeHint().height());
            const int rowHeight = std::max(1, combo->fontMetrics().height());
            combo->setMaxVisibleItems(
                std::clamp((rect.height() - boxHeight) / rowHeight, 1, kMaxDropDownRows));
            rect.setHeight(boxHeight);
        }
        break;
    case CDialogControl::ListBox:
        if (auto* list = qobject_cast<QListWidget*>(widget))
            SetUpList(*list, control);
        break;
    case CDialogControl::Edit:
        if (auto* edit = qobject_cast<QPlainTextEdit*>(widget))
            SetUpMultilineEdit(*edit, control);
        else if (auto* line = qobject_cast<QLineEdit*>(widget))
            SetUpLineEdit(*line, control);
        break;
    case CDialogControl::GroupBox:
        if (auto* group = qobject_cast<QGroupBox*>(widget))
            group->setTitle(ToQString(control.strText));
        break;
    }
    widget->setGeometry(rect);
}

void CDialogBuilder::SetTabStops(QPlainTextEdit& edit, const std::vector<int>& units) const
{
    QList<QTextOption::Tab> tabs;
    for (int stop : units)
        tabs.append(QTextOption::Tab(m_units.ToPixelsX(stop), QTextOption::LeftTab));
    QTextOption option = edit.document()->defaultTextOption();
    option.setTabs(tabs);
    edit.document()->setDefaultTextOption(option);
}

int CDialogBuilder::ControlId(const QWidget* widget)
{
    const QVariant id = widget ? widget->property(kIdProperty) : QVariant();
    return id.isValid() ? id.toInt() : -1;
}

void CDialogBuilder::SetControlId(QWidget& widget, int id)
{
    widget.setProperty(kIdProperty, id);
}
