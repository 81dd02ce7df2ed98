#pragma once

// One main window over a shipped profile in a temporary folder, for the window's QtTests.

#include "app/QuotinoApp.h"
#include "calc/Clipboard.h"
#include "calc/ListPaste.h"
#include "config/Resource.h"
#include "platform/ByteSource.h"
#include "platform/Clock.h"
#include "platform/UserInterface.h"
#include "support/FixedTime.h"
#include "support/TempDir.h"
#include "ui/QtText.h"
#include "ui/QuotinoDlg.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>
#include <string>

// Answers the language question with a preset name (none: cancel) and remembers which name
// the window asked to preselect.
class CPresetUi : public IUserInterface {
public:
    bool ChooseLanguage(const std::vector<std::string>& languages, std::string& chosen) override
    {
        m_astrOffered = languages;
        m_strPreselected = chosen;
        chosen = m_strLanguage;
        return !chosen.empty();
    }
    void ShowUpdateNotice(int, int) override { }

    std::string m_strLanguage;
    std::string m_strPreselected;
    std::vector<std::string> m_astrOffered;
};

class CPresetClipboard : public IClipboard {
public:
    std::string GetClipboardText() override { return m_strText; }
    bool HoldsOwnText() override { return m_bOwn; }

    std::string m_strText;
    bool m_bOwn = false;
};

inline const std::string kExampleList = "Einkaufsliste\n3 x Karotte\n2 x gelbe Teichrose\n"
                                        "Summe: 25,00 wT\nProdukte jetzt verkaufen?";

// The shipped profile in one language with the worked example's prices on Server 1, and
// without the automatic server list update, so nothing leaves the machine.
inline bool ReadShippedProfile(CIniFile& profile)
{
    profile.m_bAutoReload = false;
    profile.m_bAutoSave = false;
    CResource resource;
    if (!resource.Load(129, "TXT"))
        return false;
    CMemorySource source(resource.Data(), resource.Size());
    return profile.ReadFrom(source);
}

inline bool WriteShippedProfile(const std::string& path, const std::string& language,
    const std::function<void(CIniFile&)>& edit)
{
    CIniFile profile;
    if (!ReadShippedProfile(profile))
        return false;
    profile.WriteString("Settings", "Lang", language);
    profile.WriteString("Settings", "Server", "Server 1");
    profile.WriteString("Settings", "ServerInt", "0");
    profile.WriteString("Server 1", "Karotte", "0,10");
    profile.WriteString("Server 1", "gelbe Teichrose", "12,00");
    if (edit)
        edit(profile);
    return profile.Save(path);
}

inline const std::string kOldStamp = "1.1.26 10:00";

// The shipped profile in German, without the automatic server list update, offering exactly
// these servers (the first one selected), each with the old stamp and Karotte at 0,10.
inline bool WriteServersProfile(const std::string& path,
    const std::vector<std::pair<std::string, std::string>>& servers,
    const std::function<void(CIniFile&)>& edit = {})
{
    CIniFile profile;
    if (!ReadShippedProfile(profile))
        return false;
    profile.WriteString("Settings", "Lang", "Deutsch");
    profile.WriteString("Settings", "ServerInt", "0");
    profile.WriteString("Preislisten", std::nullopt, std::nullopt);
    for (const auto& [name, address] : servers) {
        profile.WriteString("Preislisten", name, address);
        profile.WriteString(name, "Aktualisiert", kOldStamp);
        profile.WriteString(name, "Karotte", "0,10");
    }
    profile.WriteString("Settings", "Server", servers.front().first);
    if (edit)
        edit(profile);
    return profile.Save(path);
}

struct CWindowRun {
    // useDesktopClipboard: the window reads the real clipboard instead of the preset one.
    explicit CWindowRun(const std::string& language = "Deutsch",
        const std::function<void(CIniFile&)>& edit = {}, const std::string& clipboard = {},
        bool useDesktopClipboard = false)
    {
        g_strLastList.clear();
        m_bProfileWritten = WriteShippedProfile(m_dir.file("quotino.ini"), language, edit);
        m_clipboard.m_strText = clipboard;
        m_app = std::make_unique<CQuotinoApp>(m_dir.file("quotino.ini"), m_clock);
        m_app->InitInstance();
        m_window = std::make_unique<CQuotinoDlg>(
            *m_app, &m_ui, useDesktopClipboard ? nullptr : &m_clipboard);
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
        return m_app->m_profile.GetString("Settings", key, "<none>");
    }

    TempDir m_dir;
    bool m_bProfileWritten = false;
    CFixedClock m_clock { FixedNow() };
    CPresetUi m_ui;
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
