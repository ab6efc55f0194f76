#pragma once

#include "Dialogs.h"

#include <QQueue>
#include <QStringList>

// The dialogs of an unattended run: the messages kept for the error output instead of waiting for a person, the
// file dialog answered with the output file, multiple-choice lists answered by codes, progress on the error output
// when it is a terminal. Anything else a person would answer is cancelled.
class BatchDialogs : public Dialogs {
public:
    struct Message {
        QString text;
        bool failure; // a failure of the action rather than a complaint about a field
    };

    // The messages shown, in order.
    const QList<Message>& messages() const { return m_messages; }
    // The next file dialog answers fileName.
    void answerSave(const QString& fileName) { m_saves.enqueue(fileName); }
    // The next multiple-choice list ticks the rows one of whose fields reads one of the codes. A code that no row
    // reads is a complaint about it, as the screen would make.
    void answerCodes(const QStringList& codes) { m_codes.enqueue(codes); }

    void showError(const QString& text) override;
    void showFailure(const QString& text) override;
    void showInformation(const QString& text) override;
    std::optional<int> pickRow(const QString& title, TDataSet& dataSet) override;
    std::optional<QList<int>> chooseRows(const QString& title, TDataSet& dataSet, const QList<int>& ticked) override;
    QString saveFileName(const QString& caption, const QString& suggestedName, const QString& filters) override;
    bool choosePrinter(QPrinter& printer) override;
    std::unique_ptr<ReportProgress> progress(const QString& title) override;
    std::optional<QString> askText(const QString& caption, const QString& prompt) override;
    void editDefinition(const ReportDefinition& definition, ReportEditing& editing) override;

    // Installs a new batch service and returns it.
    static BatchDialogs& install();

private:
    QList<Message> m_messages;
    QQueue<QString> m_saves;
    QQueue<QStringList> m_codes;
};
