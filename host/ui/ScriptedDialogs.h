#pragma once

#include "Dialogs.h"

#include <QQueue>

// Dialogs for tests and automation: records every call in order and answers from queues the caller fills.
// An unanswered pick or choose cancels; an unanswered save answers the empty text. Never blocks.
class HOSTFW_EXPORT ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        QString kind;  // "error", "information", "pick", "choose", "save"
        QString title; // pick, choose: the title; save: the caption
        QString text;  // error, information: the text; pick, choose: the column labels joined by "|";
                       // save: the suggested name
        QList<int> ticked = {}; // choose: the rows ticked when the list opened
    };
    QList<Shown> shown;

    void answerPick(std::optional<int> row) { m_picks.enqueue(row); }
    void answerChoose(std::optional<QList<int>> rows) { m_chooses.enqueue(std::move(rows)); }
    void answerSave(const QString& fileName) { m_saves.enqueue(fileName); }

    // The texts of the shown entries of one kind, in order.
    QStringList texts(const QString& kind) const;

    void showError(const QString& text) override;
    void showInformation(const QString& text) override;
    std::optional<int> pickRow(const QString& title, TDataSet& dataSet) override;
    std::optional<QList<int>> chooseRows(const QString& title, TDataSet& dataSet, const QList<int>& ticked) override;
    QString saveFileName(const QString& caption, const QString& suggestedName, const QString& filters) override;

    // Installs a fresh scripted service and returns it.
    static ScriptedDialogs& reset();

private:
    QQueue<std::optional<int>> m_picks;
    QQueue<std::optional<QList<int>>> m_chooses;
    QQueue<QString> m_saves;
};
