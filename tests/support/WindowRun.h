#pragma once

// One main window over a shipped profile in a temporary folder, for the window's QtTests.

#include "app/QuotinoApp.h"
#include "calc/Clipboard.h"
#include "calc/ListPaste.h"
#include "config/Resource.h"
#include "platform/ByteSource.h"
#include "platform/Clock.h"
#include "qt/QtText.h"
#include "qt/QuotinoDlg.h"
#include "support/FakeUserInterface.h"
#include "support/FixedTime.h"
#include "support/ShippedProfile.h"
#include "support/TempDir.h"
#include "window/Notifier.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>
#include <string>

// The desktop's notifications as the window sends them.
struct CRecordingNotifier : INotifier {
    void Notify(const std::string& title, const std::string& text) override
    {
        m_shown.push_back(title + "|" + text);
    }
    std::vector<std::string> m_shown;
};

// One main window over a profile in a temporary folder, with a preset user, clipboard and
// notification area.
struct CWindowRun {
    using ProfileEdit = std::function<void(CIniFile&)>;
    using Servers = std::vector<std::pair<std::string, std::string>>;

    // The shipped profile in the language. useDesktopClipboard: the window reads the real
    // clipboard instead of the preset one.
    explicit CWindowRun(const std::string& language = "Deutsch", const ProfileEdit& edit = {},
        const std::string& clipboard = {}, bool useDesktopClipboard = false)
        : m_bDesktopClipboard(useDesktopClipboard)
    {
        m_bProfileWritten = WriteShippedProfile(ProfilePath(), language, edit);
        m_clipboard.m_strText = clipboard;
        Open();
    }
    // The shipped profile in German offering exactly these servers (WriteServersProfile), the
    // fetch held to these limits.
    CWindowRun(const Servers& servers, const ProfileEdit& edit, const std::string& clipboard,
        const SFetchLimits& limits = {})
        : m_limits(limits)
    {
        m_bProfileWritten = WriteServersProfile(ProfilePath(), servers, edit);
        m_clipboard.m_strText = clipboard;
        Open();
    }

    // A new run over the same profile file.
    void Open()
    {
        m_spy.reset();
        m_window.reset();
        m_app = std::make_unique<CQuotinoApp>(ProfilePath(), m_clock, m_limits);
        m_app->InitInstance();
        m_window = std::make_unique<CQuotinoDlg>(
            *m_app, &m_ui, m_bDesktopClipboard ? nullptr : &m_clipboard, &m_notifier);
        m_spy = std::make_unique<QSignalSpy>(m_window.get(), &CQuotinoDlg::Calculated);
    }

    // Shown, active and with every queued command run.
    bool Show()
    {
        m_window->show();
        m_window->activateWindow();
        if (!QTest::qWaitForWindowActive(m_window.get()))
            return false;
        QCoreApplication::processEvents();
        m_spy->clear();
        return true;
    }

    QString Text(int id) const
    {
        if (auto* edit = m_window->Control<QPlainTextEdit>(id))
            return edit->toPlainText();
        if (auto* button = m_window->Control<QAbstractButton>(id))
            return button->text();
        return m_window->Control<QLabel>(id)->text();
    }
    std::string Setting(const std::string& key) const
    {
        return m_app->Profile().GetString("Settings", key, "<none>");
    }
    std::string ProfilePath() const { return m_dir.file("quotino.ini"); }
    QPushButton* Button(int id) const { return m_window->Control<QPushButton>(id); }

    TempDir m_dir;
    bool m_bDesktopClipboard = false;
    bool m_bProfileWritten = false;
    CFixedClock m_clock { FixedNow() };
    SFetchLimits m_limits;
    CFakeUserInterface m_ui;
    CRecordingNotifier m_notifier;
    CPresetClipboard m_clipboard;
    std::unique_ptr<CQuotinoApp> m_app;
    std::unique_ptr<CQuotinoDlg> m_window;
    std::unique_ptr<QSignalSpy> m_spy;
};

// Another window takes the activation, then the main window gets it back.
inline bool Reactivate(QWidget& window)
{
    QWidget other;
    other.show();
    other.activateWindow();
    if (!QTest::qWaitForWindowActive(&other))
        return false;
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// An edit gives its lines back separated by LF.
inline QString AsShown(const std::string& cp1252)
{
    return ToQString(cp1252).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
