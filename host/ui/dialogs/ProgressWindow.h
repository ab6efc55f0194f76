#pragma once

#include "ReportProgress.h"
#include "ServerWait.h"
#include "hostfw_export.h"

#include <QElapsedTimer>
#include <QString>

#include <memory>

class QProgressDialog;

// A progress window with a "Cancelar" button for a long piece of work on the user-interface thread. It appears
// once the work has taken half a second (quicker work shows only the busy cursor), stays modal so that nothing else
// of the application can start meanwhile, and keeps the windows painted; it closes when the object goes. While it
// lives, a remote call of the work that waits for a busy server shows it here at once, and Cancelar ends the call.
class HOSTFW_EXPORT ProgressWindow : public ReportProgress, private ServerWaitListener {
public:
    explicit ProgressWindow(const QString& title);
    ~ProgressWindow() override;

    bool step(const QString& stage, qint64 done, qint64 total) override;

private:
    bool waitingForServer(const QString& text) override;
    void show();
    // Shows text, done of total (0: not known), and lets the windows answer; false when the user cancelled.
    bool update(const QString& text, qint64 done, qint64 total);

    QString m_title;
    QElapsedTimer m_started;
    QElapsedTimer m_sinceEvents;
    std::unique_ptr<QProgressDialog> m_dialog;
    ListenToServerWaits m_serverWaits{*this};
};
