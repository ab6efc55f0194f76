#pragma once

#include "Dialogs.h"

#include "ReportDefinition.h"

#include <QQueue>

#include <functional>

// Dialogs for tests and automation: records every call in order and answers from queues the caller fills.
// An unanswered pick, choose, print or edit cancels; an unanswered save answers the empty text. Progress never
// shows and never cancels. Never blocks.
class HOSTFW_EXPORT ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        QString kind;  // "error", "information", "pick", "choose", "save", "print", "progress", "edit"
        QString title; // pick, choose, progress: the title; save: the caption; edit: the report's title
        QString text;  // error, information: the text; pick, choose: the column labels joined by "|";
                       // save: the suggested name
        QList<int> ticked = {}; // choose: the rows ticked when the list opened
    };
    QList<Shown> shown;

    void answerPick(std::optional<int> row) { m_picks.enqueue(row); }
    void answerChoose(std::optional<QList<int>> rows) { m_chooses.enqueue(std::move(rows)); }
    void answerSave(const QString& fileName) { m_saves.enqueue(fileName); }
    // The next print goes to this PDF file.
    void answerPrint(const QString& pdfFile) { m_prints.enqueue(pdfFile); }
    // The next edit applies change to the definition, then checks it.
    void answerEdit(std::function<void(ReportDefinition&)> change) { m_edits.enqueue(std::move(change)); }

    // The texts of the shown entries of one kind, in order.
    QStringList texts(const QString& kind) const;

    void showError(const QString& text) override;
    void showInformation(const QString& text) override;
    std::optional<int> pickRow(const QString& title, TDataSet& dataSet) override;
    std::optional<QList<int>> chooseRows(const QString& title, TDataSet& dataSet, const QList<int>& ticked) override;
    QString saveFileName(const QString& caption, const QString& suggestedName, const QString& filters) override;
    bool choosePrinter(QPrinter& printer) override;
    std::unique_ptr<ReportProgress> progress(const QString& title) override;
    std::optional<ReportDefinition> editDefinition(const ReportDefinition& definition) override;

    // Installs a fresh scripted service and returns it.
    static ScriptedDialogs& reset();

private:
    QQueue<std::optional<int>> m_picks;
    QQueue<std::optional<QList<int>>> m_chooses;
    QQueue<QString> m_saves;
    QQueue<QString> m_prints;
    QQueue<std::function<void(ReportDefinition&)>> m_edits;
};
