#pragma once

#include "ReportProgress.h"
#include "hostfw_export.h"

#include <QElapsedTimer>
#include <QString>

#include <memory>

class QProgressDialog;

// A progress window with a "Cancelar" button for a long piece of work on the user-interface thread. It appears
// once the work has taken half a second (quicker work shows only the busy cursor), stays modal so that nothing else
// of the application can start meanwhile, and keeps the windows painted; it closes when the object goes.
class HOSTFW_EXPORT ProgressWindow : public ReportProgress {
public:
    explicit ProgressWindow(const QString& title);
    ~ProgressWindow() override;

    bool step(const QString& stage, qint64 done, qint64 total) override;

private:
    QString m_title;
    QElapsedTimer m_started;
    QElapsedTimer m_sinceEvents;
    std::unique_ptr<QProgressDialog> m_dialog;
};
