#include "ui/PasteEdit.h"

CPasteEdit::CPasteEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    // A drop would bring in other text than the clipboard's; the list comes by paste only.
    setAcceptDrops(false);
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
