#include "net/Fetcher.h"

#include "net/CurlLibrary.h"
#include "platform/Cp1252.h"
#include "platform/FileDescriptor.h"
#include "platform/SafeFileName.h"
#include "platform/Utf8Path.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <random>

namespace {

// Writes a fresh file beside the target and renames it over the target, so that whatever
// stands at the target name (a planted symbolic link, say) is replaced and never written through.
bool ReplaceFile(const std::string& target, const std::function<bool(int fd)>& write)
{
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string temp = target + ".tmp" + std::to_string(random() % 1000000);
        // Created exclusively, which also refuses an existing symbolic link.
        const int fd = CreateNewFile(temp);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        bool ok = write(fd);
        ok = CloseFile(fd) && ok;
        std::error_code error;
        if (ok)
            std::filesystem::rename(PathFromUtf8(temp), PathFromUtf8(target), error);
        if (!ok || error) {
            std::filesystem::remove(PathFromUtf8(temp), error);
            return false;
        }
        return true;
    }
    return false;
}

} // namespace

void ForEachBodyLine(std::string_view body, const std::function<void(std::string& line)>& onLine)
{
    constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
    if (body.starts_with(kUtf8ByteOrderMark))
        body.remove_prefix(kUtf8ByteOrderMark.size());
    std::string raw;
    while (!body.empty()) {
        const std::size_t end = body.find('\n');
        std::string_view piece = body.substr(0, end);
        // CRs go before the conversion: a CR inside a character must not break it up.
        if (piece.find('\r') != std::string_view::npos) {
            raw.assign(piece);
            std::erase(raw, '\r');
            piece = raw;
        }
        std::string line = Utf8ToCp1252(piece);
        onLine(line);
        body.remove_prefix(end == std::string_view::npos ? body.size() : end + 1);
    }
}

CFetcher::CFetcher(const SFetchLimits& limits)
    : m_limits(limits)
{
}

// The worker goes first: its notification must not reach a fetcher that is gone.
CFetcher::~CFetcher() = default;

bool CFetcher::HasSession()
{
    if (!m_pWorker) {
        if (const CCurlLibrary* curl = CCurlLibrary::Get()) {
            auto worker = std::make_unique<CTransferWorker>(*curl, [this] { m_finished.Notify(); });
            if (worker->IsUsable())
                m_pWorker = std::move(worker);
        }
    }
    return m_pWorker != nullptr;
}

int CFetcher::StartFetch(
    const std::string& url, long totalSeconds, std::function<void(STransferResponse&)> onArrival)
{
    if (!HasSession())
        return 0;
    STransferRequest request;
    request.url = url;
    request.loadFlag = m_nLoadFlag;
    request.maxRedirects = m_limits.maxRedirects;
    request.connectTimeoutMs = m_limits.connectTimeoutMs;
    request.stallSeconds = m_limits.stallSeconds;
    request.totalTimeoutSeconds = totalSeconds > 0
        ? std::min(totalSeconds, m_limits.totalTimeoutSeconds)
        : m_limits.totalTimeoutSeconds;
    request.maxBodyBytes = m_limits.maxBodyBytes;
    request.onArrival = std::move(onArrival);
    return m_pWorker->Start(std::move(request));
}

STransferResponse CFetcher::NoSession()
{
    STransferResponse response;
    response.error = CURLE_FAILED_INIT;
    return response;
}

bool CFetcher::FinishFetch(
    const STransferResponse& response, const std::string& url, const std::string* saveName)
{
    m_nLastError = 0;
    try {
        if (saveName)
            WriteCopyFile(CopyPath(*saveName), url, response);
        if (response.cancelled) {
            m_nLastError = CURLE_ABORTED_BY_CALLBACK;
            return false;
        }
        if (response.error != CURLE_OK) {
            m_nLastError = response.error;
            return false;
        }
        return response.status == 0 || (response.status >= 200 && response.status <= 299);
    } catch (...) {
        m_nLastError = -1;
        return false;
    }
}

void CFetcher::Cancel(int id)
{
    if (m_pWorker && id)
        m_pWorker->Cancel(id);
}

void CFetcher::CancelAll()
{
    if (m_pWorker)
        m_pWorker->CancelAll();
}

std::vector<STransferResponse> CFetcher::TakeFinished()
{
    return m_pWorker ? m_pWorker->TakeFinished() : std::vector<STransferResponse> {};
}

std::string CFetcher::CopyPath(const std::string& saveName) const
{
    if (m_strCopyFolder.empty())
        return {};
    return Utf8FromPath(
        PathFromUtf8(m_strCopyFolder) / PathFromUtf8(Cp1252ToUtf8(SafeFileName(saveName))));
}

void CFetcher::WriteCopyFile(
    const std::string& path, const std::string& requestedUrl, const STransferResponse& response)
{
    if (path.empty() || response.cancelled || (response.status == 0 && response.error != CURLE_OK))
        return;
    std::string text;
    if (response.status != 0) {
        const bool usable = response.effectiveUrl.size() >= 9;
        text += "URL: " + (usable ? response.effectiveUrl : requestedUrl) + "\r\n";
        if (!response.contentType.empty())
            text += "Content Type: " + response.contentType + "\r\n";
        if (!response.date.empty())
            text += "Date: " + response.date + "\r\n";
        text += "Status Code: " + std::to_string(response.status) + "\r\n\r\n";
    }
    // Line by line into the file: a body of millions of line ends never exists twice over.
    // A copy that cannot be written does not stop the fetch.
    ReplaceFile(path, [&text, &response](int fd) {
        constexpr std::size_t kChunk = 64 * 1024;
        bool ok = true;
        const auto flush = [&ok, &text, fd] {
            ok = ok
                && WriteToFile(fd, text.data(), text.size())
                    == static_cast<std::ptrdiff_t>(text.size());
            text.clear();
        };
        ForEachBodyLine(response.body, [&](const std::string& line) {
            text += line;
            text += "\r\n";
            if (text.size() >= kChunk)
                flush();
        });
        flush();
        return ok;
    });
}
