#include "qt/ClipboardListener.h"

#include <QClipboard>
#include <QGuiApplication>

CClipboardListener::CClipboardListener(std::function<void()> onChange, QObject* parent)
    : QObject(parent)
    , m_fnChanged(std::move(onChange))
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        connect(
            clipboard, &QClipboard::dataChanged, this, [this] { m_fnChanged(); },
            Qt::QueuedConnection);
}

bool CClipboardListener::HearsInBackground()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
