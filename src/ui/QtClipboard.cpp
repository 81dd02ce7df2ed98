#include "ui/QtClipboard.h"

#include "ui/QtText.h"

#include <QClipboard>
#include <QGuiApplication>

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
