#include "qt/PasteEdit.h"

#include <QDragEnterEvent>

CPasteEdit::CPasteEdit(QWidget* parent)
    : QPlainTextEdit(parent)
{
}

void CPasteEdit::dragEnterEvent(QDragEnterEvent* event)
{
    // A drop would bring in other text than the clipboard's; the list comes by paste only.
    if (m_paste)
        event->ignore();
    else
        QPlainTextEdit::dragEnterEvent(event);
}

bool CPasteEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return m_paste ? true : QPlainTextEdit::canInsertFromMimeData(source);
}

void CPasteEdit::insertFromMimeData(const QMimeData* source)
{
    if (m_paste)
        m_paste();
    else
        QPlainTextEdit::insertFromMimeData(source);
}
