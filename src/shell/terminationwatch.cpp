#include "shell/terminationwatch.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace Brelvan {

namespace {
int g_fds[2] = {-1, -1};

void onSignal(int)
{
    // only async-signal-safe work here: wake the event loop
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_fds[0], &c, 1);
}
} // namespace

TerminationWatch::TerminationWatch(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_fds) == 0) {
        m_notifier = new QSocketNotifier(g_fds[1], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] {
            char c;
            [[maybe_unused]] const ssize_t n = ::read(g_fds[1], &c, 1);
            emit terminationRequested();
        });
        struct sigaction sa {};
        sa.sa_handler = onSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &sa, nullptr);
        sigaction(SIGINT, &sa, nullptr);
        sigaction(SIGHUP, &sa, nullptr);
    }
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager &) { emit terminationRequested(); });
    }
}

TerminationWatch::~TerminationWatch()
{
    signal(SIGTERM, SIG_DFL);
    signal(SIGINT, SIG_DFL);
    signal(SIGHUP, SIG_DFL);
    if (g_fds[0] >= 0) {
        ::close(g_fds[0]);
        ::close(g_fds[1]);
        g_fds[0] = g_fds[1] = -1;
    }
}

} // namespace Brelvan
