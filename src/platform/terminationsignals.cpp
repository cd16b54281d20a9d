#include "platform/terminationsignals.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace {

// Read end, write end. Both are non-blocking, so the handler never waits on a full
// socket, and close-on-exec, so programs the player starts do not inherit them.
std::array<int, 2> signalSocket = {-1, -1};

constexpr std::array<int, 2> TerminationSignalNumbers = {SIGTERM, SIGINT};

bool setAction(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    // While the handler runs the other signal waits; once it has restored the default
    // action, that waiting signal ends the process.
    sigemptyset(&action.sa_mask);
    for (const int number : TerminationSignalNumbers)
        sigaddset(&action.sa_mask, number);
    action.sa_flags = SA_RESTART;
    bool ok = true;
    for (const int number : TerminationSignalNumbers)
        ok = sigaction(number, &action, nullptr) == 0 && ok;
    return ok;
}

// Async-signal-safe: sigaction, write and errno only.
void onTerminationSignal(int number)
{
    const int savedErrno = errno;
    setAction(SIG_DFL);
    const char byte = char(number);
    [[maybe_unused]] const ssize_t written = ::write(signalSocket[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

bool TerminationSignals::install()
{
    if (signalSocket[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0,
                                            signalSocket.data()) != 0)
        return false;
    return setAction(onTerminationSignal);
}

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (signalSocket[0] < 0)
        return;
    m_notifier = new QSocketNotifier(signalSocket[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::receive);
}

void TerminationSignals::receive()
{
    std::array<char, 16> bytes;
    while (::read(signalSocket[0], bytes.data(), bytes.size()) > 0) {
    }
    // One shutdown is enough; a later signal has its default action and needs no loop.
    m_notifier->setEnabled(false);
    emit terminationRequested();
}
