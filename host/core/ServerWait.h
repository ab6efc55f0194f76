#pragma once

#include "hostfw_core_export.h"

#include <QElapsedTimer>
#include <QString>
#include <chrono>

// While a remote call waits to try again a server that answered it was busy (HTTP 503), whoever shows the work in
// hand hears it, and may give up. The user-interface layer installs a listener for the life of a progress window;
// with none, the call only waits, under the caller's busy cursor.
class HOSTFW_CORE_EXPORT ServerWaitListener {
public:
    virtual ~ServerWaitListener() = default;
    // Called every few tens of milliseconds while the call waits, text saying so ("Aguardando o servidor…").
    // False: the user cancelled, and the call ends with EAbort.
    virtual bool waitingForServer(const QString& text) = 0;
};

// Makes listener the one that hears this thread's waits while the object lives; the previous one comes back after.
class HOSTFW_CORE_EXPORT ListenToServerWaits {
public:
    explicit ListenToServerWaits(ServerWaitListener& listener);
    ~ListenToServerWaits();
    ListenToServerWaits(const ListenToServerWaits&) = delete;
    ListenToServerWaits& operator=(const ListenToServerWaits&) = delete;

private:
    ServerWaitListener* m_previous;
};

// The attempts of one call at a busy server, within the call's time: pauses of 0.5 s doubling up to 4 s, each
// shortened at random by up to a quarter (so that calls turned away together do not come back together), and always
// leaving an attempt at least half a second of the time.
class HOSTFW_CORE_EXPORT BusyServerRetry {
public:
    explicit BusyServerRetry(std::chrono::milliseconds timeout);

    std::chrono::milliseconds elapsed() const;
    // What is left of the call's time for the next attempt.
    std::chrono::milliseconds remaining() const;
    // Waits before the next attempt, telling the listener; false, without waiting, when the call's time does not
    // allow another attempt. Throws EAbort when the listener cancels.
    bool pause();

private:
    std::chrono::milliseconds m_timeout;
    std::chrono::milliseconds m_nextPause{500};
    QElapsedTimer m_started;
};
