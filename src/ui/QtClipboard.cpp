#include "ui/QtClipboard.h"

#include "ui/QtText.h"

#include <QClipboard>
#include <QGuiApplication>

CQtClipboard::CQtClipboard()
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        m_connection = QObject::connect(clipboard, &QClipboard::dataChanged, [this] { NoteChange(); });
}

CQtClipboard::~CQtClipboard()
{
    QObject::disconnect(m_connection);
}

std::string CQtClipboard::GetClipboardText()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return {};
    QString text = clipboard->text(QClipboard::Clipboard);
    const qsizetype zero = text.indexOf(QChar(0));
    if (zero >= 0)
        text.truncate(zero);
    return FromQString(text);
}

bool CQtClipboard::HoldsOwnText()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard && clipboard->ownsClipboard())
        return true;
    return m_bOwnChange && GetClipboardText() == m_strOwnText;
}

void CQtClipboard::NoteChange()
{
    m_bOwnChange = QGuiApplication::focusWindow() != nullptr;
    m_strOwnText = m_bOwnChange ? GetClipboardText() : std::string();
}
