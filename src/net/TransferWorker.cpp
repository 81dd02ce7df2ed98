#include "net/TransferWorker.h"

#include "net/CurlLibrary.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace {

// The flags of the load flag that allow a redirect to change the protocol.
constexpr int kFollowRedirectToHttp = 0x8000;
constexpr int kFollowRedirectToHttps = 0x4000;
constexpr int kPollMilliseconds = 1000;

// Parses the address as it stands (curl would otherwise guess a scheme for "-") and accepts
// only http and https. Fills the normalised address and its lower-case scheme.
CURLcode ParseHttpAddress(
    const CCurlLibrary& curl, const std::string& url, std::string& address, std::string& scheme)
{
    if (url.find('\0') != std::string::npos)
        return CURLE_URL_MALFORMAT;
    std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> parsed(curl.Url(), curl.UrlCleanup);
    if (!parsed)
        return CURLE_OUT_OF_MEMORY;
    const CURLUcode result = curl.UrlSet(parsed.get(), CURLUPART_URL, url.c_str(), 0);
    if (result == CURLUE_UNSUPPORTED_SCHEME)
        return CURLE_UNSUPPORTED_PROTOCOL;
    if (result != CURLUE_OK)
        return CURLE_URL_MALFORMAT;

    char* part = nullptr;
    if (curl.UrlGet(parsed.get(), CURLUPART_SCHEME, &part, 0) != CURLUE_OK)
        return CURLE_URL_MALFORMAT;
    scheme = part;
    curl.Free(part);
    if (scheme != "http" && scheme != "https")
        return CURLE_UNSUPPORTED_PROTOCOL;

    if (curl.UrlGet(parsed.get(), CURLUPART_URL, &part, 0) != CURLUE_OK)
        return CURLE_URL_MALFORMAT;
    address = part;
    curl.Free(part);
    return CURLE_OK;
}

CURLcode RestrictProtocols(
    const CCurlLibrary& library, CURL* curl, const std::string& scheme, int loadFlag)
{
    // A redirect may change the protocol only where the load flags allow it.
    const bool redirectToHttp = scheme == "http" || (loadFlag & kFollowRedirectToHttp);
    const bool redirectToHttps = scheme == "https" || (loadFlag & kFollowRedirectToHttps);
#if LIBCURL_VERSION_NUM >= 0x075500
    const char* redirectProtocols = !redirectToHttp ? "https"
        : redirectToHttps                           ? "http,https"
                                                    : "http";
    CURLcode restricted = library.EasySetopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    if (restricted == CURLE_OK)
        restricted = library.EasySetopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, redirectProtocols);
#else
    CURLcode restricted = library.EasySetopt(
        curl, CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
    if (restricted == CURLE_OK)
        restricted = library.EasySetopt(curl, CURLOPT_REDIR_PROTOCOLS,
            (redirectToHttp ? CURLPROTO_HTTP : 0L) | (redirectToHttps ? CURLPROTO_HTTPS : 0L));
#endif
    return restricted;
}

// A transfer that is cancelled, times out or is cleaned up at exit while its host name is
// still being looked up would otherwise wait for the lookup to end: seconds where a name
// server does not answer. The lookup's thread is left to finish on its own instead. Older
// libraries lack the option and keep waiting.
void ForgetResolverOnCleanup(const CCurlLibrary& library, CURL* curl)
{
#if LIBCURL_VERSION_NUM >= 0x075700
    library.EasySetopt(curl, CURLOPT_QUICK_EXIT, 1L);
#else
    (void)library;
    (void)curl;
#endif
}

} // namespace

// One transfer in flight; owned and touched by the worker's thread only.
struct CTransferWorker::STransfer {
    int id = 0;
    CURL* easy = nullptr;
    std::string body;
    std::int64_t limit = 0;
    bool tooLarge = false;
    bool reserved = false;
    const CCurlLibrary* library = nullptr;
    std::function<void(STransferResponse&)> onArrival;

    // Room for an announced body at once: growing step by step would hold the old and the new
    // buffer together, up to three times the body.
    void ReserveAnnounced()
    {
        curl_off_t length = -1;
        if (library->EasyGetinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK
            && length > 0 && length <= limit)
            body.reserve(static_cast<std::size_t>(length));
    }

    static std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user)
    {
        auto& transfer = *static_cast<STransfer*>(user);
        const std::size_t bytes = size * count;
        if (!transfer.reserved) {
            transfer.reserved = true;
            transfer.ReserveAnnounced();
        }
        // libcurl's own size limit lets chunked and unannounced bodies through.
        if (static_cast<std::int64_t>(transfer.body.size() + bytes) > transfer.limit) {
            transfer.tooLarge = true;
            return 0;
        }
        transfer.body.append(data, bytes);
        return bytes;
    }

    CURLcode Configure(const CCurlLibrary& library, const STransferRequest& request)
    {
        std::string address;
        std::string scheme;
        const CURLcode parsed = ParseHttpAddress(library, request.url, address, scheme);
        if (parsed != CURLE_OK)
            return parsed;
        easy = library.EasyInit();
        if (!easy)
            return CURLE_OUT_OF_MEMORY;
        limit = request.maxBodyBytes;
        onArrival = request.onArrival;
        this->library = &library;
        library.EasySetopt(easy, CURLOPT_URL, address.c_str());
        // A library too old to restrict the protocols could follow a redirect anywhere.
        if (const CURLcode restricted = RestrictProtocols(library, easy, scheme, request.loadFlag);
            restricted != CURLE_OK)
            return restricted;
        library.EasySetopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
        library.EasySetopt(easy, CURLOPT_MAXREDIRS, request.maxRedirects);
        library.EasySetopt(easy, CURLOPT_USERAGENT, "Quotino");
        library.EasySetopt(easy, CURLOPT_NOSIGNAL, 1L);
        ForgetResolverOnCleanup(library, easy);
        library.EasySetopt(easy, CURLOPT_CONNECTTIMEOUT_MS, request.connectTimeoutMs);
        library.EasySetopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
        library.EasySetopt(easy, CURLOPT_LOW_SPEED_TIME, request.stallSeconds);
        library.EasySetopt(easy, CURLOPT_TIMEOUT, request.totalTimeoutSeconds);
        library.EasySetopt(
            easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(request.maxBodyBytes));
        library.EasySetopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
        library.EasySetopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
        library.EasySetopt(easy, CURLOPT_WRITEFUNCTION, &STransfer::Collect);
        library.EasySetopt(easy, CURLOPT_WRITEDATA, this);
        return CURLE_OK;
    }
};

CTransferWorker::CTransferWorker(const CCurlLibrary& curl, std::function<void()> notify)
    : m_curl(curl)
    , m_fnNotify(std::move(notify))
{
    m_pMulti = m_curl.MultiInit();
    if (m_pMulti)
        m_thread = std::thread([this] { Run(); });
}

CTransferWorker::~CTransferWorker()
{
    {
        std::lock_guard lock(m_mutex);
        m_bStop = true;
    }
    Wake();
    if (m_thread.joinable())
        m_thread.join();
    if (m_pMulti)
        m_curl.MultiCleanup(static_cast<CURLM*>(m_pMulti));
}

int CTransferWorker::Start(STransferRequest request)
{
    int id = 0;
    {
        std::lock_guard lock(m_mutex);
        id = m_nNextId++;
        if (m_pMulti) {
            m_pending.emplace_back(id, std::move(request));
        } else {
            STransferResponse failed;
            failed.id = id;
            failed.error = CURLE_FAILED_INIT;
            m_done.push_back(std::move(failed));
        }
    }
    Wake();
    return id;
}

void CTransferWorker::Cancel(int id)
{
    std::vector<STransferResponse> done;
    {
        std::lock_guard lock(m_mutex);
        const auto pending = std::find_if(m_pending.begin(), m_pending.end(),
            [id](const auto& entry) { return entry.first == id; });
        if (pending != m_pending.end()) {
            done.emplace_back().id = id;
            done.back().cancelled = true;
            m_pending.erase(pending);
        } else {
            m_cancelled.insert(id);
        }
    }
    Publish(done);
    Wake();
}

void CTransferWorker::CancelAll()
{
    std::vector<STransferResponse> done;
    {
        std::lock_guard lock(m_mutex);
        for (const auto& entry : m_pending) {
            done.emplace_back().id = entry.first;
            done.back().cancelled = true;
        }
        m_pending.clear();
        m_bCancelActive = true;
    }
    Publish(done);
    Wake();
}

std::vector<STransferResponse> CTransferWorker::TakeFinished()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_done, {});
}

void CTransferWorker::Wake()
{
    m_work.notify_one();
    if (m_pMulti)
        m_curl.MultiWakeup(static_cast<CURLM*>(m_pMulti));
}

void CTransferWorker::Run()
{
    auto* multi = static_cast<CURLM*>(m_pMulti);
    std::vector<std::unique_ptr<STransfer>> active;
    std::vector<STransferResponse> done;
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            if (active.empty())
                m_work.wait(lock, [this] {
                    return m_bStop || m_bCancelActive || !m_pending.empty() || !m_cancelled.empty();
                });
            if (m_bStop)
                break;
        }
        AdmitAndCancel(active, done);
        int running = 0;
        m_curl.MultiPerform(multi, &running);
        const std::size_t finished = done.size();
        CollectDone(active, done);
        const bool freedSlots = done.size() > finished;
        Publish(done);
        // A freed slot is filled at once: the poll would wait for another transfer's traffic.
        if (!active.empty() && !freedSlots)
            m_curl.MultiPoll(multi, nullptr, 0, kPollMilliseconds, nullptr);
    }
    for (const auto& transfer : active) {
        m_curl.MultiRemoveHandle(multi, transfer->easy);
        m_curl.EasyCleanup(transfer->easy);
    }
}

// Under the lock only the hand-over; configuring and removing handles happen outside it.
void CTransferWorker::AdmitAndCancel(
    std::vector<std::unique_ptr<STransfer>>& active, std::vector<STransferResponse>& done)
{
    std::set<int> cancelled;
    bool cancelActive = false;
    std::vector<std::pair<int, STransferRequest>> admitted;
    {
        std::lock_guard lock(m_mutex);
        cancelled.swap(m_cancelled);
        cancelActive = std::exchange(m_bCancelActive, false);
        std::size_t slots = kMaxParallelTransfers;
        slots -= std::min(slots, active.size());
        while (admitted.size() < slots && !m_pending.empty()) {
            admitted.push_back(std::move(m_pending.front()));
            m_pending.pop_front();
        }
    }
    auto* multi = static_cast<CURLM*>(m_pMulti);
    std::erase_if(active, [&](const std::unique_ptr<STransfer>& transfer) {
        if (!cancelActive && !cancelled.contains(transfer->id))
            return false;
        m_curl.MultiRemoveHandle(multi, transfer->easy);
        m_curl.EasyCleanup(transfer->easy);
        done.emplace_back().id = transfer->id;
        done.back().cancelled = true;
        return true;
    });
    for (auto& [id, request] : admitted) {
        auto transfer = std::make_unique<STransfer>();
        transfer->id = id;
        const CURLcode configured = transfer->Configure(m_curl, request);
        if (configured == CURLE_OK && m_curl.MultiAddHandle(multi, transfer->easy) == CURLM_OK) {
            active.push_back(std::move(transfer));
            continue;
        }
        done.push_back(Finish(*transfer, configured == CURLE_OK ? CURLE_FAILED_INIT : configured));
        if (transfer->easy)
            m_curl.EasyCleanup(transfer->easy);
    }
}

void CTransferWorker::CollectDone(
    std::vector<std::unique_ptr<STransfer>>& active, std::vector<STransferResponse>& done)
{
    auto* multi = static_cast<CURLM*>(m_pMulti);
    int queued = 0;
    while (CURLMsg* message = m_curl.MultiInfoRead(multi, &queued)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        const auto found = std::find_if(active.begin(), active.end(),
            [&](const auto& transfer) { return transfer->easy == message->easy_handle; });
        if (found == active.end())
            continue;
        const CURLcode result = message->data.result;
        m_curl.MultiRemoveHandle(multi, (*found)->easy);
        done.push_back(Finish(**found, result));
        Arrive(**found, done.back());
        m_curl.EasyCleanup((*found)->easy);
        active.erase(found);
    }
}

STransferResponse CTransferWorker::Finish(STransfer& transfer, int result)
{
    STransferResponse response;
    response.id = transfer.id;
    response.error = transfer.tooLarge ? CURLE_FILESIZE_EXCEEDED : result;
    response.body = std::move(transfer.body);
    CURL* easy = transfer.easy;
    if (!easy)
        return response;
    m_curl.EasyGetinfo(easy, CURLINFO_RESPONSE_CODE, &response.status);
    char* text = nullptr;
    if (m_curl.EasyGetinfo(easy, CURLINFO_EFFECTIVE_URL, &text) == CURLE_OK && text)
        response.effectiveUrl = text;
    text = nullptr;
    if (m_curl.EasyGetinfo(easy, CURLINFO_CONTENT_TYPE, &text) == CURLE_OK && text)
        response.contentType = text;
    curl_header* date = nullptr;
    if (m_curl.EasyHeader(easy, "Date", 0, CURLH_HEADER, -1, &date) == CURLHE_OK)
        response.date = date->value;
    return response;
}

void CTransferWorker::Arrive(STransfer& transfer, STransferResponse& response)
{
    if (!transfer.onArrival)
        return;
    try {
        transfer.onArrival(response);
    } catch (...) {
        std::string().swap(response.body);
        response.reduced.reset();
        response.error = CURLE_OUT_OF_MEMORY;
    }
}

void CTransferWorker::Publish(std::vector<STransferResponse>& done)
{
    if (done.empty())
        return;
    {
        std::lock_guard lock(m_mutex);
        for (auto& response : done)
            m_done.push_back(std::move(response));
    }
    done.clear();
    if (m_fnNotify)
        m_fnNotify();
}
