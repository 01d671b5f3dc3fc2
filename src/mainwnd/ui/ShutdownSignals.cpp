#include "ShutdownSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <iterator>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

int g_pipe[2] = {-1, -1};
struct sigaction g_old[std::size(kSignals)]{};

void ExitAtOnce(int)
{
    ::_exit(0);
}

void OnSignal(int signo)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signo);
    // A full pipe already holds a pending request.
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

void CShutdownSignals::ExitOnSignals()
{
    struct sigaction sa {};
    sa.sa_handler = &ExitAtOnce;
    sigemptyset(&sa.sa_mask);
    for (int signo : kSignals)
        ::sigaction(signo, &sa, nullptr);
}

CShutdownSignals::CShutdownSignals(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal))
{
    if (g_pipe[0] >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &CShutdownSignals::OnReadable);
    struct sigaction sa {};
    sa.sa_handler = &OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &sa, &g_old[i]);
    installed_ = true;
}

CShutdownSignals::~CShutdownSignals()
{
    if (!installed_)
        return;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &g_old[i], nullptr);
    delete notifier_;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void CShutdownSignals::OnReadable()
{
    unsigned char bytes[16];
    const ssize_t n = ::read(g_pipe[0], bytes, sizeof bytes);
    if (n <= 0)
        return;
    if (onSignal_)
        onSignal_(bytes[n - 1]);
}
