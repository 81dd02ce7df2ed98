#include "qt/QtClipboard.h"

#include "qt/QtText.h"

#include <QClipboard>
#include <QGuiApplication>

CQtClipboard::CQtClipboard(OwnerQuery owner)
    : m_fnOwner(std::move(owner))
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        m_connection
            = QObject::connect(clipboard, &QClipboard::dataChanged, [this] { NoteChange(); });
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
    if (Owner().value_or(false))
        return true;
    return m_bOwnChange && GetClipboardText() == m_strOwnText;
}

std::optional<bool> CQtClipboard::Owner() const
{
    return m_fnOwner ? m_fnOwner() : std::nullopt;
}

std::optional<bool> CQtClipboard::DesktopOwner()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QString platform = QGuiApplication::platformName();
    const bool tells = platform == QLatin1String("xcb") || platform == QLatin1String("windows")
        || platform.startsWith(QLatin1String("wayland"));
    if (!clipboard || !tells)
        return std::nullopt;
    return clipboard->ownsClipboard();
}

void CQtClipboard::NoteChange()
{
    // A clipboard manager that takes the program's own text over keeps it the program's.
    m_bOwnChange = Owner().value_or(QGuiApplication::focusWindow() != nullptr);
    m_strOwnText = m_bOwnChange ? GetClipboardText() : std::string();
}
