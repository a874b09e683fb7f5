#include "ExitSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace sweepdraw {

namespace {

constexpr std::array kEndingSignals{SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t g_caught = 0;
int g_pipe[2] = {-1, -1};

void onSignal(int signal)
{
    const int saved = errno;
    if (g_caught == 0)
        g_caught = signal;
    const char byte = 1;
    // A full pipe already has the news.
    (void)!::write(g_pipe[1], &byte, 1);
    errno = saved;
}

} // namespace

void ExitSignals::install()
{
    std::signal(SIGXFSZ, SIG_IGN);
    if (g_pipe[0] >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (const int signal : kEndingSignals)
        ::sigaction(signal, &action, nullptr);
}

int ExitSignals::caught()
{
    return g_caught;
}

void SignalWatch::check()
{
    if (const int signal = g_caught; signal != 0) [[unlikely]]
        throw EndedBySignal{signal};
}

ExitSignals::ExitSignals(QObject *parent)
    : QObject(parent)
{
    if (g_pipe[0] < 0)
        return;
    auto *notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
        }
        if (g_caught != 0)
            emit received(g_caught);
    });
}

} // namespace sweepdraw
