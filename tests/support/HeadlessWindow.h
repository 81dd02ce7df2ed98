#pragma once

#include "app/QuotinoApp.h"
#include "platform/Clock.h"
#include "support/FakeUserInterface.h"
#include "support/FakeWindowView.h"
#include "support/FixedTime.h"
#include "support/ShippedProfile.h"
#include "support/TempDir.h"
#include "window/ControlIds.h"
#include "window/MainWindow.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

// The main window's behaviour over the fake view, on a profile in a temporary folder at a fixed
// time: what every headless main-window test starts from.
class HeadlessWindow : public ::testing::Test {
protected:
    std::string ProfilePath() { return m_dir.file("quotino.ini"); }

    // Starts the application, with the fetch's limits of m_limits, and the window over the
    // profile written before.
    void Start()
    {
        m_app = std::make_unique<CQuotinoApp>(ProfilePath(), m_clock, m_limits);
        m_app->InitInstance();
        m_view.LayOut(IDD_MAIN);
        m_window = std::make_unique<CMainWindow>(*m_app, m_view, m_view, m_ui, m_clipboard);
        ASSERT_TRUE(m_window->OnInit());
        m_view.RunPosted();
    }

    // The window and its transfers end before anything a test adds, such as a loopback server
    // that would otherwise wait out their open connections.
    void TearDown() override
    {
        m_window.reset();
        m_app.reset();
    }

    // Runs the window's events as they come until the command ends.
    bool RunUntilIdle()
    {
        using namespace std::chrono_literals;
        const auto limit = std::chrono::steady_clock::now() + 30s;
        while (m_window->IsBusy() && std::chrono::steady_clock::now() < limit) {
            if (m_view.RunPosted() == 0)
                std::this_thread::sleep_for(2ms);
        }
        return !m_window->IsBusy();
    }

    TempDir m_dir;
    CFixedClock m_clock { FixedNow() };
    SFetchLimits m_limits;
    CFakeUserInterface m_ui;
    CPresetClipboard m_clipboard;
    CFakeWindowView m_view;
    std::unique_ptr<CQuotinoApp> m_app;
    std::unique_ptr<CMainWindow> m_window;
};
