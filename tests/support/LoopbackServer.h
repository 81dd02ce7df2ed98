#pragma once

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

// A proxy from the environment must not see loopback requests. Set while the program starts,
// before any thread runs: changing the environment while another thread reads it (QtTest's
// watchdog does at every test function) can crash that thread.
inline const bool g_bLoopbackBypassesProxies = [] {
    for (const char* name : { "no_proxy", "NO_PROXY" }) {
#ifdef _WIN32
        _putenv_s(name, "127.0.0.1,localhost");
#else
        setenv(name, "127.0.0.1,localhost", 1);
#endif
    }
    return true;
}();

// A real HTTP server on 127.0.0.1 and a free port. Register handlers on Server(), then
// Start(); the destructor releases stalled handlers and stops the server.
class LoopbackServer {
public:
    ~LoopbackServer() { Stop(); }

    httplib::Server& Server() { return m_server; }

    // Binds first, so that requests queue up even before the thread runs.
    void Start()
    {
        m_server.set_tcp_nodelay(true);
        // A client that reads slowly (a sanitizer build on a busy machine) is not cut off with
        // half a body: only the program's own limits may end a transfer in these tests.
        m_server.set_write_timeout(120, 0);
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        // stop() is ignored until the loop runs, so a quick Stop() would wait forever.
        while (!m_server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    void Stop()
    {
        ReleaseStalled();
        if (m_thread.joinable()) {
            m_server.stop();
            m_thread.join();
        }
    }

    int Port() const { return m_port; }
    std::string Url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }

    // For a handler that accepts a request and never answers until the test ends.
    void Stall()
    {
        std::unique_lock lock(m_mutex);
        m_released.wait_for(lock, std::chrono::seconds(20), [this] { return m_bReleased; });
    }

private:
    void ReleaseStalled()
    {
        {
            std::lock_guard lock(m_mutex);
            m_bReleased = true;
        }
        m_released.notify_all();
    }

    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
    std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_bReleased = false;
};
