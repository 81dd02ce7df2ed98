#include "win32/Win32Clipboard.h"
#include "win32/Win32DialogTemplate.h"
#include "win32/Win32Text.h"
#include "window/ControlIds.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <thread>

namespace {

INT_PTR CALLBACK NoDialogProcedure(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

const wchar_t* SystemClass(const CDialogControl& control)
{
    switch (control.kind) {
    case CDialogControl::Button:
    case CDialogControl::DefaultButton:
    case CDialogControl::CheckBox:
    case CDialogControl::GroupBox:
        return L"Button";
    case CDialogControl::DropDownList:
        return L"ComboBox";
    case CDialogControl::ListBox:
        return L"ListBox";
    case CDialogControl::Edit:
        return L"Edit";
    default:
        return L"Static";
    }
}

} // namespace

// Every template becomes a window of its size in its own font's dialog units, with each
// control of the template under its id, of the system class its kind calls for, with its text.
TEST(Win32DialogTemplate, EveryTemplateBuildsItsControlsAtItsSize)
{
    for (const int id : { IDD_MAIN, IDD_ABOUT, IDD_LANGUAGE, IDD_SERVERS, IDD_ADD_SERVER,
             IDD_UPDATE, IDD_DETAILS, IDD_SERVER_ADDRESS }) {
        SCOPED_TRACE(id);
        const CDialogTemplate source = CDialogTemplate::Load(id);
        HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
            CWin32DialogTemplate(source).Get(), nullptr, NoDialogProcedure, 0);
        ASSERT_TRUE(dialog);
        RECT expected = { 0, 0, source.m_size.width, source.m_size.height };
        MapDialogRect(dialog, &expected);
        RECT client = {};
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, expected.right);
        EXPECT_EQ(client.bottom, expected.bottom);
        for (const CDialogControl& control : source.m_controls) {
            if (control.nId == -1)
                continue;
            HWND item = GetDlgItem(dialog, control.nId);
            ASSERT_TRUE(item) << control.nId;
            wchar_t name[32] = {};
            GetClassNameW(item, name, 32);
            EXPECT_EQ(_wcsicmp(name, SystemClass(control)), 0) << control.nId;
            if (control.kind == CDialogControl::DropDownList)
                continue;
            std::wstring shown(512, L'\0');
            shown.resize(static_cast<size_t>(GetWindowTextW(item, shown.data(), 512)));
            EXPECT_EQ(
                Cp1252FromWide(shown), Cp1252FromWide(WithCrLf(WideFromCp1252(control.strText))))
                << control.nId;
        }
        DestroyWindow(dialog);
    }
}

TEST(Win32Text, Windows1252CrossesUtf16BothWays)
{
    std::string every;
    for (int byte = 1; byte < 256; ++byte)
        every += static_cast<char>(byte);
    EXPECT_EQ(Cp1252FromWide(WideFromCp1252(every)), every);
    EXPECT_EQ(WideFromCp1252("\x80\xFC"), L"\u20AC\u00FC");
    // Characters beyond Windows-1252 become "?"; UTF-8 paths keep them.
    EXPECT_EQ(Cp1252FromWide(L"a\u4E2D\u00E9"), "a?\xE9");
    EXPECT_EQ(Utf8FromWide(WideFromUtf8("J\xC3\xBCrgen\xE4\xB8\xAD")), "J\xC3\xBCrgen\xE4\xB8\xAD");
    EXPECT_EQ(WithCrLf(L"\na\nb\r\nc\r"), L"\r\na\r\nb\r\nc\r");
}

// The program's own copy, from one of its edits, is told apart from another program's text.
TEST(Win32Clipboard, OwnCopyIsOwnUntilAnotherProgramCopies)
{
    HWND edit = CreateWindowExW(0, L"EDIT", L"3 x Karotte", WS_POPUP, 0, 0, 100, 20, nullptr,
        nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(edit);
    CWin32Clipboard clipboard;
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_COPY, 0, 0);
    EXPECT_TRUE(clipboard.HoldsOwnText());
    EXPECT_EQ(clipboard.ReadText(3), "3 x ");
    DestroyWindow(edit);
    // The copying edit is gone; its text on the clipboard stays the program's.
    EXPECT_TRUE(clipboard.HoldsOwnText());

    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_FALSE(clipboard.HoldsOwnText());
    EXPECT_EQ(clipboard.ReadText(IClipboard::kWhole), "");
}

// A read takes the last fetch's text only while the clipboard still holds that copy, and only
// as far as that fetch kept it.
TEST(Win32Clipboard, ReadTakesTheLastFetchOnlyForTheSameCopy)
{
    CWin32Clipboard clipboard;
    for (const wchar_t* copied : { L"3 x Karotte", L"2 x Minze" }) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        const size_t bytes = (wcslen(copied) + 1) * sizeof(wchar_t);
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
        memcpy(GlobalLock(data), copied, bytes);
        GlobalUnlock(data);
        SetClipboardData(CF_UNICODETEXT, data);
        CloseClipboard();
        const std::string text = Cp1252FromWide(copied);
        EXPECT_EQ(clipboard.ReadText(3), text.substr(0, 4));
        EXPECT_EQ(clipboard.ReadText(IClipboard::kWhole), text);
        EXPECT_EQ(clipboard.ReadText(5), text.substr(0, 6));
    }
}

// An owner that renders only when asked, then hangs, holds no read beyond the bound.
TEST(Win32Clipboard, OwnerThatDoesNotRenderHoldsNoReadLonger)
{
    HANDLE taken = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread owner([taken, release] {
        HWND window = CreateWindowExW(
            0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        OpenClipboard(window);
        EmptyClipboard();
        SetClipboardData(CF_UNICODETEXT, nullptr);
        CloseClipboard();
        SetEvent(taken);
        WaitForSingleObject(release, 3000); // answers no message meanwhile
        DestroyWindow(window);
    });
    WaitForSingleObject(taken, 3000);
    CWin32Clipboard clipboard;
    for (int read = 0; read < 2; ++read) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(clipboard.ReadText(IClipboard::kWhole), std::nullopt);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    }
    SetEvent(release);
    owner.join();
    std::optional<std::string> text;
    for (int wait = 0; wait < 100 && !text; ++wait, Sleep(10))
        text = clipboard.ReadText(IClipboard::kWhole);
    EXPECT_EQ(text, "");
}
