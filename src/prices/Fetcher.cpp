#include "prices/Fetcher.h"

#include "platform/Cp1252.h"
#include "prices/CurlLibrary.h"
#include "prices/SafeFileName.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>

namespace {

// The flags of m_nLoadFlag that allow a redirect to change the protocol.
constexpr int kFollowRedirectToHttp = 0x8000;
constexpr int kFollowRedirectToHttps = 0x4000;

CURL* Handle(void* session)
{
    return static_cast<CURL*>(session);
}

// Parses the address as it stands (curl would otherwise guess a scheme for "-") and accepts
// only http and https. Fills the normalised address and its lower-case scheme.
CURLcode ParseHttpAddress(const CCurlLibrary& curl, const std::string& url, std::string& address,
                          std::string& scheme)
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

// Splits at LF, drops every CR, keeps a last line without LF, and converts each line.
void SplitBody(std::string_view body, std::vector<std::string>& lines)
{
    while (!body.empty()) {
        const std::size_t end = body.find('\n');
        std::string line(body.substr(0, end));
        std::erase(line, '\r');
        lines.push_back(Utf8ToCp1252(line));
        body.remove_prefix(end == std::string_view::npos ? body.size() : end + 1);
    }
}

// Writes a fresh file beside the target and renames it over the target, so that whatever
// stands at the target name (a planted symbolic link, say) is replaced and never written through.
bool ReplaceFile(const std::filesystem::path& target, const std::string& bytes)
{
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::filesystem::path temp = target;
        temp += ".tmp" + std::to_string(random() % 1000000);
        // "x" creates exclusively, which also refuses an existing symbolic link.
        std::FILE* file = std::fopen(temp.string().c_str(), "wbx");
        if (!file) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        ok = std::fclose(file) == 0 && ok;
        std::error_code error;
        if (ok)
            std::filesystem::rename(temp, target, error);
        if (!ok || error) {
            std::filesystem::remove(temp, error);
            return false;
        }
        return true;
    }
    return false;
}

}  // namespace

struct CFetcher::SResponse {
    std::string body;
    std::int64_t limit = 0;
    bool tooLarge = false;

    static std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user)
    {
        auto& response = *static_cast<SResponse*>(user);
        const std::size_t bytes = size * count;
        // libcurl's own size limit lets chunked and unannounced bodies through.
        if (static_cast<std::int64_t>(response.body.size() + bytes) > response.limit) {
            response.tooLarge = true;
            return 0;
        }
        response.body.append(data, bytes);
        return bytes;
    }
};

CFetcher::CFetcher() = default;

CFetcher::~CFetcher()
{
    if (m_pSession)
        m_pCurl->EasyCleanup(Handle(m_pSession));
}

bool CFetcher::HasSession()
{
    if (!m_pSession) {
        m_pCurl = CCurlLibrary::Get();
        m_pSession = m_pCurl ? m_pCurl->EasyInit() : nullptr;
    }
    return m_pSession != nullptr;
}

bool CFetcher::FetchUrl(const std::string& url, std::vector<std::string>& lines,
                        const std::string* saveName)
{
    lines.clear();
    m_nLastError = 0;
    if (!HasSession()) {
        m_nLastError = CURLE_FAILED_INIT;
        return false;
    }
    try {
        SResponse response;
        if (!ConfigureTransfer(url, response))
            return false;
        const CURLcode result = m_pCurl->EasyPerform(Handle(m_pSession));
        long status = 0;
        m_pCurl->EasyGetinfo(Handle(m_pSession), CURLINFO_RESPONSE_CODE, &status);
        SplitBody(response.body, lines);
        if (saveName && (status != 0 || result == CURLE_OK))
            WriteCopy(*saveName, url, status, lines);
        if (result != CURLE_OK) {
            m_nLastError = response.tooLarge ? CURLE_FILESIZE_EXCEEDED : result;
            return false;
        }
        return status == 0 || (status >= 200 && status <= 299);
    } catch (...) {
        m_nLastError = -1;
        return false;
    }
}

bool CFetcher::ConfigureTransfer(const std::string& url, SResponse& response)
{
    std::string address;
    std::string scheme;
    const CURLcode parsed = ParseHttpAddress(*m_pCurl, url, address, scheme);
    if (parsed != CURLE_OK) {
        m_nLastError = parsed;
        return false;
    }
    // A redirect may change the protocol only where the load flags allow it.
    const bool redirectToHttp = scheme == "http" || (m_nLoadFlag & kFollowRedirectToHttp);
    const bool redirectToHttps = scheme == "https" || (m_nLoadFlag & kFollowRedirectToHttps);

    const CCurlLibrary& library = *m_pCurl;
    CURL* curl = Handle(m_pSession);
    library.EasyReset(curl);
    response.limit = m_nMaxBodyBytes;
    library.EasySetopt(curl, CURLOPT_URL, address.c_str());
#if LIBCURL_VERSION_NUM >= 0x075500
    const char* redirectProtocols = !redirectToHttp    ? "https"
                                    : redirectToHttps ? "http,https"
                                                      : "http";
    CURLcode restricted = library.EasySetopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    if (restricted == CURLE_OK)
        restricted = library.EasySetopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, redirectProtocols);
#else
    CURLcode restricted = library.EasySetopt(curl, CURLOPT_PROTOCOLS,
                                             static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
    if (restricted == CURLE_OK)
        restricted = library.EasySetopt(curl, CURLOPT_REDIR_PROTOCOLS,
                                        (redirectToHttp ? CURLPROTO_HTTP : 0L)
                                            | (redirectToHttps ? CURLPROTO_HTTPS : 0L));
#endif
    // A library too old to restrict the protocols could follow a redirect anywhere.
    if (restricted != CURLE_OK) {
        m_nLastError = restricted;
        return false;
    }
    library.EasySetopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    library.EasySetopt(curl, CURLOPT_MAXREDIRS, m_nMaxRedirects);
    library.EasySetopt(curl, CURLOPT_USERAGENT, "Quotino");
    library.EasySetopt(curl, CURLOPT_NOSIGNAL, 1L);
    library.EasySetopt(curl, CURLOPT_CONNECTTIMEOUT_MS, m_nConnectTimeoutMs);
    library.EasySetopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    library.EasySetopt(curl, CURLOPT_LOW_SPEED_TIME, m_nStallSeconds);
    library.EasySetopt(curl, CURLOPT_TIMEOUT, m_nTotalTimeoutSeconds);
    library.EasySetopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(m_nMaxBodyBytes));
    library.EasySetopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    library.EasySetopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    library.EasySetopt(curl, CURLOPT_WRITEFUNCTION, &SResponse::Collect);
    library.EasySetopt(curl, CURLOPT_WRITEDATA, &response);
    return true;
}

std::string CFetcher::CopyPath(const std::string& saveName) const
{
    if (m_strCopyFolder.empty())
        return {};
    return (std::filesystem::path(m_strCopyFolder) / Cp1252ToUtf8(SafeFileName(saveName))).string();
}

void CFetcher::WriteCopy(const std::string& saveName, const std::string& requestedUrl,
                         long status, const std::vector<std::string>& lines) const
{
    const std::string path = CopyPath(saveName);
    if (path.empty())
        return;
    const CCurlLibrary& library = *m_pCurl;
    CURL* curl = Handle(m_pSession);
    std::string text;
    if (status != 0) {
        char* reported = nullptr;
        library.EasyGetinfo(curl, CURLINFO_EFFECTIVE_URL, &reported);
        const bool usable = reported && std::strlen(reported) >= 9;
        text += "URL: " + (usable ? std::string(reported) : requestedUrl) + "\r\n";
        char* contentType = nullptr;
        library.EasyGetinfo(curl, CURLINFO_CONTENT_TYPE, &contentType);
        if (contentType)
            text += "Content Type: " + std::string(contentType) + "\r\n";
        curl_header* date = nullptr;
        if (library.EasyHeader(curl, "Date", 0, CURLH_HEADER, -1, &date) == CURLHE_OK)
            text += "Date: " + std::string(date->value) + "\r\n";
        text += "Status Code: " + std::to_string(status) + "\r\n\r\n";
    }
    for (const std::string& line : lines)
        text += line + "\r\n";
    // A copy that cannot be written does not stop the fetch.
    ReplaceFile(path, text);
}
