#pragma once

#include "Importer.h"

#include <QElapsedTimer>

// A progress bar on the error output when it is a terminal, redrawn at most ten times a second; nothing otherwise.
// It never cancels.
class TerminalProgress : public fiscalimport::ImportProgress {
public:
    TerminalProgress();
    ~TerminalProgress() override;

    bool step(const QString& file, qint64 done, qint64 total) override;

private:
    bool m_terminal;
    bool m_drawn = false;
    QElapsedTimer m_sinceDrawn;
};
