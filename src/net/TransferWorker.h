#pragma once

#include "config/SettingKeys.h"

#include <any>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

class CCurlLibrary;
struct STransferResponse;

// What one transfer asks of the network, copied when it starts, so the worker shares nothing
// with the caller's settings.
struct STransferRequest {
    std::string url;
    int loadFlag = SettingKeys::kDefaultLoadFlag;
    long maxRedirects = 10;
    long connectTimeoutMs = 15000;
    long stallSeconds = 30;
    long totalTimeoutSeconds = 300;
    std::int64_t maxBodyBytes = 16 * 1024 * 1024;
    // Runs on the worker's thread once a response came in (not for a cancelled transfer or one
    // that never started), before the response is handed over: it may write the body away and
    // reduce it into the response's reduced, so that no large body waits for the caller. It
    // must touch nothing that another thread uses; an exception fails the transfer.
    std::function<void(STransferResponse&)> onArrival;
};

// What came back: the raw body and the outcome. Turning the body into lines is the caller's
// business, on the caller's thread.
struct STransferResponse {
    int id = 0;
    int error = 0; // the CURLcode of the failure, 0 when the transfer completed
    long status = 0; // the HTTP status, 0 when none arrived
    bool cancelled = false;
    std::string body;
    std::string effectiveUrl;
    std::string contentType;
    std::string date; // the response's Date header
    std::any reduced; // what the request's onArrival made of the body
};

// Runs transfers on a thread of its own, a few at once, so that no caller waits for the
// network. Results are collected with TakeFinished after the notification.
class CTransferWorker {
public:
    static constexpr int kMaxParallelTransfers = 6;

    // notify runs whenever responses become ready, mostly on the worker's thread; it must only
    // hand the news over (to a queue or a condition), never touch the caller's state. It is
    // fixed for the worker's life, so that nobody can replace another's notification.
    CTransferWorker(const CCurlLibrary& curl, std::function<void()> notify);
    // Aborts whatever still runs and waits for the thread.
    ~CTransferWorker();
    CTransferWorker(const CTransferWorker&) = delete;
    CTransferWorker& operator=(const CTransferWorker&) = delete;

    // False when the library could not give a multi handle; Start then fails every transfer.
    bool IsUsable() const { return m_pMulti != nullptr; }

    // Queues a transfer and returns its id (never 0).
    int Start(STransferRequest request);
    // A cancelled transfer ends at once with cancelled set; one already finished is unaffected.
    void Cancel(int id);
    void CancelAll();

    std::vector<STransferResponse> TakeFinished();

private:
    struct STransfer;

    void Run();
    void AdmitAndCancel(
        std::vector<std::unique_ptr<STransfer>>& active, std::vector<STransferResponse>& done);
    void CollectDone(
        std::vector<std::unique_ptr<STransfer>>& active, std::vector<STransferResponse>& done);
    STransferResponse Finish(STransfer& transfer, int result);
    static void Arrive(STransfer& transfer, STransferResponse& response);
    void Publish(std::vector<STransferResponse>& done);
    void Wake();

    const CCurlLibrary& m_curl;
    void* m_pMulti = nullptr; // the CURLM handle; only the worker's thread drives it

    std::mutex m_mutex;
    std::condition_variable m_work; // the worker waits here while idle
    std::deque<std::pair<int, STransferRequest>> m_pending;
    std::set<int> m_cancelled;
    std::vector<STransferResponse> m_done;
    const std::function<void()> m_fnNotify;
    int m_nNextId = 1;
    bool m_bCancelActive = false; // every transfer admitted so far is to be cancelled
    bool m_bStop = false;
    std::thread m_thread;
};
