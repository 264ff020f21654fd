#include "SignalWatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace {
int signalFds[2] = {-1, -1};
constexpr int watched[] = {SIGTERM, SIGHUP, SIGINT};

// Only async-signal-safe calls here: the number goes through the socket to the event loop.
void onSignal(int number)
{
    const int saved = errno;
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t n = write(signalFds[0], &byte, 1);
    errno = saved;
}
} // namespace

SignalWatcher::SignalWatcher(std::function<void(int)> callback, QObject* parent)
    : QObject(parent), m_onSignal(std::move(callback))
{
    if (signalFds[0] < 0 &&
        socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalFds) != 0)
        return;
    m_notifier = new QSocketNotifier(signalFds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { readSignal(); });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : watched)
        sigaction(number, &action, nullptr);
}

SignalWatcher::~SignalWatcher()
{
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int number : watched)
        sigaction(number, &action, nullptr);
}

void SignalWatcher::readSignal()
{
    char byte = 0;
    while (read(signalFds[1], &byte, 1) == 1)
        if (m_onSignal)
            m_onSignal(static_cast<unsigned char>(byte));
}
