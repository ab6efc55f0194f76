#include "ServerWait.h"

#include "Exceptions.h"

#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <algorithm>
#include <thread>

using namespace Qt::StringLiterals;
using std::chrono::milliseconds;

namespace {

constexpr milliseconds longestPause{4000};
constexpr milliseconds shortestAttempt{500};
constexpr milliseconds listenerEvery{40};

thread_local ServerWaitListener* listening = nullptr;

void waitFor(milliseconds duration)
{
    const QDeadlineTimer deadline(duration);
    while (!deadline.hasExpired()) {
        if (listening && !listening->waitingForServer(u"Aguardando o servidor…"_s))
            throw EAbort();
        std::this_thread::sleep_for(std::min(listenerEvery, milliseconds(deadline.remainingTime())));
    }
}

} // namespace

ListenToServerWaits::ListenToServerWaits(ServerWaitListener& listener) : m_previous(listening)
{
    listening = &listener;
}

ListenToServerWaits::~ListenToServerWaits() { listening = m_previous; }

BusyServerRetry::BusyServerRetry(milliseconds timeout) : m_timeout(timeout) { m_started.start(); }

milliseconds BusyServerRetry::elapsed() const { return milliseconds(m_started.elapsed()); }

milliseconds BusyServerRetry::remaining() const { return std::max(m_timeout - elapsed(), milliseconds(0)); }

bool BusyServerRetry::pause()
{
    const milliseconds jitter(QRandomGenerator::global()->bounded(qint64(m_nextPause.count() / 4) + 1));
    const milliseconds pause = std::min(m_nextPause - jitter, remaining() - shortestAttempt);
    if (pause <= milliseconds(0))
        return false;
    m_nextPause = std::min(m_nextPause * 2, longestPause);
    waitFor(pause);
    return true;
}
