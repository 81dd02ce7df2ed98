#include "qt/QtClipboard.h"

#include "platform/Cp1252.h"
#include "qt/X11ClipboardReader.h"

#include <QClipboard>
#include <QGuiApplication>

#include <algorithm>

namespace {

// UTF-8 takes at most four bytes a character: a text beyond this many bytes is beyond the limit.
std::size_t Utf8Bound(std::size_t limit)
{
    return limit >= IClipboard::kWhole / 4 - 1 ? IClipboard::kWhole : 4 * (limit + 1);
}

// 8-bit clipboard text ends at its first zero character.
std::string Cp1252Text(std::string_view utf8, std::size_t limit)
{
    std::string text = Utf8ToCp1252(utf8.substr(0, utf8.find('\0')));
    text.resize(std::min(text.size(), IClipboard::Kept(limit)));
    return text;
}

} // namespace

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

std::optional<std::string> CQtClipboard::ReadText(std::size_t limit)
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return std::string();
    // Qt would wait seconds for each answer of another program on X11; its own text and the
    // other window systems' clipboards it reads without asking anyone.
    if (QGuiApplication::platformName() == QLatin1String("xcb") && !clipboard->ownsClipboard()) {
        const std::optional<std::string> utf8
            = CX11ClipboardReader(std::chrono::milliseconds(kAnswerMs)).Read(Utf8Bound(limit));
        if (!utf8)
            return std::nullopt;
        return Cp1252Text(*utf8, limit);
    }
    return Cp1252Text(clipboard->text(QClipboard::Clipboard).toStdString(), limit);
}

bool CQtClipboard::HoldsOwnText()
{
    if (Owner().value_or(false))
        return true;
    return m_bOwnChange && ReadText(m_strOwnText.size()) == m_strOwnText;
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
    m_strOwnText = m_bOwnChange ? ReadText(kWhole).value_or(std::string()) : std::string();
}
