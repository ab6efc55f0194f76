#pragma once

#include "ScriptedDialogs.h"

#include <QQueue>
#include <QStringList>

// The dialogs of an unattended run: the scripted answers, progress on the error output when it is a terminal, and
// multiple-choice lists answered by codes rather than by rows.
class BatchDialogs : public ScriptedDialogs {
public:
    // The next multiple-choice list ticks the rows one of whose fields reads one of the codes. A code that no row
    // reads is a complaint about it, as the screen would make.
    void answerCodes(const QStringList& codes) { m_codes.enqueue(codes); }

    std::optional<QList<int>> chooseRows(const QString& title, TDataSet& dataSet, const QList<int>& ticked) override;
    std::unique_ptr<ReportProgress> progress(const QString& title) override;

    static BatchDialogs& install();

private:
    QQueue<QStringList> m_codes;
};
