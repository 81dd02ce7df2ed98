#include "qt/SessionEnd.h"

#include "app/QuotinoApp.h"
#include "window/ExitSave.h"

#include <QApplication>
#include <QDialog>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kEndingSignals[] = { SIGTERM, SIGHUP, SIGINT };
// Questions open over one another at most; a bound, in case one refuses to close.
constexpr int kMaxOpenQuestions = 8;

// The handler only writes a byte; the window's thread reads it through a notifier.
int g_signalPipe[2] = { -1, -1 };

extern "C" void OnEndingSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signalPipe[1], &byte, 1);
    errno = savedErrno;
}

bool OpenSignalPipe()
{
    if (::pipe(g_signalPipe) != 0)
        return false;
    for (const int fd : g_signalPipe) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    return true;
}

void CatchEndingSignals()
{
    struct sigaction action { };
    action.sa_handler = OnEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kEndingSignals) {
        struct sigaction previous { };
        if (::sigaction(signal, &action, &previous) == 0 && previous.sa_handler == SIG_IGN)
            ::sigaction(signal, &previous, nullptr);
    }
}

void RestoreEndingSignals()
{
    for (const int signal : kEndingSignals) {
        struct sigaction current { };
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == OnEndingSignal)
            std::signal(signal, SIG_DFL);
    }
}

} // namespace

CSessionEnd::CSessionEnd(CQuotinoApp& app)
    : m_app(app)
{
    const auto save = [this](QSessionManager&) { SaveAtSessionEnd(m_app); };
    connect(qApp, &QGuiApplication::commitDataRequest, this, save);
    connect(qApp, &QGuiApplication::saveStateRequest, this, save);
    if (!OpenSignalPipe())
        return;
    m_pNotifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &CSessionEnd::OnSignal);
    CatchEndingSignals();
}

CSessionEnd::~CSessionEnd()
{
    if (!m_pNotifier)
        return;
    RestoreEndingSignals();
    delete m_pNotifier;
    for (int& fd : g_signalPipe) {
        ::close(fd);
        fd = -1;
    }
}

void CSessionEnd::OnSignal()
{
    char bytes[64];
    while (::read(g_signalPipe[0], bytes, sizeof bytes) > 0) { }
    m_bEndRequested = true;
    CloseQuestions();
    if (!m_pWindow || !m_pWindow->isVisible())
        return;
    // The frame's close: it stops a running download and closes all the same.
    m_pWindow->close();
}

// The window's own run can end only after the questions open over it have ended.
void CSessionEnd::CloseQuestions()
{
    for (int i = 0; i < kMaxOpenQuestions; ++i) {
        auto* question = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!question || question == m_pWindow)
            return;
        question->reject();
    }
}
