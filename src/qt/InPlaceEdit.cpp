#include "qt/InPlaceEdit.h"

#include "qt/DialogBuilder.h"
#include "qt/PriceListEdit.h"
#include "qt/QtText.h"
#include "window/PriceLine.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>

CInPlaceEdit::CInPlaceEdit(QWidget* parent, std::string name, Commit commit)
    : QLineEdit(parent)
    , m_strName(std::move(name))
    , m_commit(std::move(commit))
{
    setAttribute(Qt::WA_DeleteOnClose);
}

CInPlaceEdit* CInPlaceEdit::Create(const NMPRICELINE& line, bool selectAll, Commit commit)
{
    if (!line.pWindow)
        return nullptr;
    // The rectangle is in the coordinates of the pane's text area, so the box lives there.
    auto* area = qobject_cast<QAbstractScrollArea*>(line.pWindow);
    QWidget* parent = area ? area->viewport() : line.pWindow;

    auto* edit = new CInPlaceEdit(parent, line.strName, std::move(commit));
    CDialogBuilder::SetControlId(*edit, kControlId);
    edit->setFont(line.font);
    edit->setGeometry(line.rect.adjusted(-1, -1, 1, 1));
    edit->setText(ToQString(line.strValue));
    if (selectAll)
        edit->selectAll();
    edit->show();
    edit->setFocus(Qt::OtherFocusReason);
    return edit;
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event)
{
    // Both keys are consumed here, so the window's default button and Escape handling never
    // see them.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Close(true);
        return;
    case Qt::Key_Escape:
        Close(false);
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

void CInPlaceEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // The box's own context menu takes the focus only for a moment; it is not leaving the box.
    if (event->reason() != Qt::PopupFocusReason)
        Close(true);
}

void CInPlaceEdit::Close(bool commit)
{
    if (m_bClosed)
        return;
    m_bClosed = true;
    if (commit && m_commit)
        m_commit(m_strName, SPriceLine::Committed(FromQString(text())));
    // close() hides the box now (handing the focus on) and deletes it once control is back in
    // the event loop.
    close();
}
