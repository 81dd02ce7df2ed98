#include "win32/Win32Clipboard.h"

#include "win32/Win32Text.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// What one fetch hands from its thread to the window's.
struct CWin32Clipboard::SFetch {
    explicit SFetch(std::size_t keep)
        : kept(keep)
    {
    }

    const std::size_t kept; // characters at most
    std::mutex mutex;
    std::condition_variable answered;
    bool bDone = false;
    bool bWaitedOut = false; // the window's thread waited kAnswerMs in vain
    std::optional<std::wstring> text;
    DWORD nSequence = 0; // the clipboard's state the text belongs to, 0 when unknown
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
// much to look at before anything is copied. nullopt when the owner does not answer. The
// sequence number is taken while the clipboard is open, when nobody can change it.
std::optional<std::wstring> FetchText(std::size_t kept, DWORD& sequence)
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
    sequence = GetClipboardSequenceNumber();
    CloseClipboard();
    return text;
}

} // namespace

std::optional<std::string> CWin32Clipboard::ReadText(std::size_t limit)
{
    const std::size_t kept = Kept(limit);
    if (m_pFetch && !Await(*m_pFetch))
        return std::nullopt;
    if (!m_pFetch || !IsCurrent(*m_pFetch, kept)) {
        if (!IsClipboardFormatAvailable(CF_UNICODETEXT))
            return std::string();
        m_pFetch = Start(kept);
        if (!Await(*m_pFetch))
            return std::nullopt;
    }
    if (!m_pFetch->text)
        return std::nullopt;
    const std::wstring& fetched = *m_pFetch->text;
    std::string text = Cp1252FromWide(kept < fetched.size() ? fetched.substr(0, kept) : fetched);
    text.resize(std::min(text.size(), kept));
    return text;
}

void CWin32Clipboard::FetchAhead(std::size_t limit)
{
    if (!m_pFetch)
        m_pFetch = Start(Kept(limit));
}

// The thread owns its share of the fetch, so a fetch that answers after the window gave up,
// or after this object went, writes into memory that still exists.
std::shared_ptr<CWin32Clipboard::SFetch> CWin32Clipboard::Start(std::size_t kept)
{
    auto fetch = std::make_shared<SFetch>(kept);
    std::thread([fetch] {
        DWORD sequence = 0;
        std::optional<std::wstring> text = FetchText(fetch->kept, sequence);
        const std::lock_guard<std::mutex> lock(fetch->mutex);
        fetch->text = std::move(text);
        fetch->nSequence = sequence;
        fetch->bDone = true;
        fetch->answered.notify_one();
    }).detach();
    return fetch;
}

// A fetch is waited for once: while one that did not answer in time still runs, a read finds
// no answer at once.
bool CWin32Clipboard::Await(SFetch& fetch)
{
    std::unique_lock<std::mutex> lock(fetch.mutex);
    if (!fetch.bDone && !fetch.bWaitedOut)
        fetch.bWaitedOut = !fetch.answered.wait_for(
            lock, std::chrono::milliseconds(kAnswerMs), [&fetch] { return fetch.bDone; });
    return fetch.bDone;
}

// Whether a finished fetch holds the clipboard's text as it is now, as far as kept reaches.
bool CWin32Clipboard::IsCurrent(const SFetch& fetch, std::size_t kept)
{
    return fetch.text && fetch.nSequence != 0 && fetch.nSequence == GetClipboardSequenceNumber()
        && (kept <= fetch.kept || fetch.text->size() < fetch.kept);
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
