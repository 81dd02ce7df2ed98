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

struct CWindowRun {
    // useDesktopClipboard: the window reads the real clipboard instead of the preset one.
    explicit CWindowRun(const std::string& language = "Deutsch",
        const std::function<void(CIniFile&)>& edit = {}, const std::string& clipboard = {},
        bool useDesktopClipboard = false)
    {
        m_bProfileWritten = WriteShippedProfile(m_dir.file("quotino.ini"), language, edit);
        m_clipboard.m_strText = clipboard;
        m_app = std::make_unique<CQuotinoApp>(m_dir.file("quotino.ini"), m_clock);
        m_app->InitInstance();
        m_window = std::make_unique<CQuotinoDlg>(
            *m_app, &m_ui, useDesktopClipboard ? nullptr : &m_clipboard, &m_notifier);
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

    TempDir m_dir;
    bool m_bProfileWritten = false;
    CFixedClock m_clock { FixedNow() };
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
