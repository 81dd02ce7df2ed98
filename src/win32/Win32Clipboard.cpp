#include "win32/Win32Clipboard.h"

#include "win32/Win32Text.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// What one fetch hands from its thread to the window's.
struct CWin32Clipboard::SFetch {
    std::mutex mutex;
    std::condition_variable answered;
    bool bDone = false;
    std::optional<std::wstring> text;
};

namespace {

// Another program may hold the clipboard open for a moment.
constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenRetryMs = 10;

bool OpenClipboardSoon()
{
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        if (OpenClipboard(nullptr))
            return true;
        Sleep(kOpenRetryMs);
    }
    return false;
}

// Whether the window that owns the clipboard answers at all: fetching from a hung program would
// keep the clipboard open, for every program, as long as it hangs. The program's own windows
// are not asked, as the window's thread is waiting for this one.
bool OwnerAnswers()
{
    HWND owner = GetClipboardOwner();
    if (!owner)
        return true;
    DWORD process = 0;
    GetWindowThreadProcessId(owner, &process);
    if (process == GetCurrentProcessId())
        return true;
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(
               owner, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, IClipboard::kAnswerMs, &result)
        != 0;
}

// The clipboard's text, at most `kept` characters of it: the size of the memory tells how
// much to look at before anything is copied. nullopt when the owner does not answer.
std::optional<std::wstring> FetchText(std::size_t kept)
{
    if (!OwnerAnswers())
        return std::nullopt;
    if (!OpenClipboardSoon())
        return std::wstring();
    std::wstring text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* locked = static_cast<const wchar_t*>(GlobalLock(data))) {
            const size_t limit = std::min(GlobalSize(data) / sizeof(wchar_t), kept);
            text.assign(locked, wcsnlen(locked, limit));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

} // namespace

std::optional<std::string> CWin32Clipboard::ReadText(std::size_t limit)
{
    if (m_pWaiting) {
        const std::lock_guard<std::mutex> lock(m_pWaiting->mutex);
        if (!m_pWaiting->bDone)
            return std::nullopt;
    }
    m_pWaiting.reset();
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT))
        return std::string();
    // The thread owns its share of the fetch, so a fetch that answers after the window gave
    // up, or after this object went, writes into memory that still exists.
    auto fetch = std::make_shared<SFetch>();
    const std::size_t kept = Kept(limit);
    std::thread([fetch, kept] {
        std::optional<std::wstring> text = FetchText(kept);
        const std::lock_guard<std::mutex> lock(fetch->mutex);
        fetch->text = std::move(text);
        fetch->bDone = true;
        fetch->answered.notify_one();
    }).detach();
    std::unique_lock<std::mutex> lock(fetch->mutex);
    if (!fetch->answered.wait_for(
            lock, std::chrono::milliseconds(kAnswerMs), [&fetch] { return fetch->bDone; })) {
        m_pWaiting = std::move(fetch);
        return std::nullopt;
    }
    if (!fetch->text)
        return std::nullopt;
    std::string text = Cp1252FromWide(*fetch->text);
    text.resize(std::min(text.size(), kept));
    return text;
}

bool CWin32Clipboard::HoldsOwnText()
{
    const DWORD sequence = GetClipboardSequenceNumber();
    DWORD process = 0;
    if (HWND owner = GetClipboardOwner())
        GetWindowThreadProcessId(owner, &process);
    if (process == GetCurrentProcessId()) {
        m_nOwnSequence = sequence;
        return true;
    }
    return m_nOwnSequence != 0 && sequence == m_nOwnSequence;
}
