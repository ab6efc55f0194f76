#pragma once

#include "Dialogs.h"

#include "ReportDefinition.h"

#include <QQueue>

#include <functional>

// Dialogs for tests: records every call in order and answers from queues the caller fills.
// An unanswered pick, choose, open, folder, print, text or edit cancels; an unanswered save answers the empty text.
// Progress never shows, and cancels only when told to. Never blocks.
class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        QString kind; // "error", "information", "confirm", "pick", "choose", "save", "open", "folder", "print", "text",
                      // "edit", "signin"
        QString title; // pick, choose: the title; save, open, folder, text: the caption; edit: the report's title
        QString text;  // error, information, confirm: the text; pick, choose: the column labels joined by "|";
                       // save: the suggested name; text: the prompt; signin: the user shown, "|", the problem
        QList<int> ticked = {}; // choose: the rows ticked when the list opened
        bool failure = false;   // error: shown as a failure of the action rather than a complaint about a field
    };
    QList<Shown> shown;
    // The titles of the progress windows asked for, which never show.
    QStringList progressTitles;

    void answerPick(std::optional<int> row) { m_picks.enqueue(row); }
    void answerChoose(std::optional<QList<int>> rows) { m_chooses.enqueue(std::move(rows)); }
    void answerSave(const QString& fileName) { m_saves.enqueue(fileName); }
    void answerOpen(const QStringList& fileNames) { m_opens.enqueue(fileNames); }
    void answerFolder(const QString& folder) { m_folders.enqueue(folder); }
    // The next progress window is cancelled at its step number step (1 is the first).
    void cancelProgressAt(int step) { m_cancelAt = step; }
    // The next print goes to this PDF file.
    void answerPrint(const QString& pdfFile) { m_prints.enqueue(pdfFile); }
    // The next edit applies change to the definition, then saves it, over its file or as a new report; a failure
    // to save is shown, and the edit ends.
    enum class EditEnd { Save, SaveAsNew };
    void answerEdit(std::function<void(ReportDefinition&)> change, EditEnd end = EditEnd::Save)
    {
        m_edits.enqueue({std::move(change), end});
    }
    void answerText(std::optional<QString> text) { m_texts.enqueue(std::move(text)); }
    // The next yes-or-no question; an unanswered one is answered no.
    void answerConfirm(bool yes) { m_confirms.enqueue(yes); }
    void answerSignIn(std::optional<SignInAnswer> answer) { m_signIns.enqueue(std::move(answer)); }

    // The texts of the shown entries of one kind, in order.
    QStringList texts(const QString& kind) const;

    void showError(const QString& text) override;
    void showFailure(const QString& text) override;
    void showInformation(const QString& text) override;
    bool confirm(const QString& question) override;
    std::optional<int> pickRow(const QString& title, TDataSet& dataSet) override;
    std::optional<QList<int>> chooseRows(const QString& title, TDataSet& dataSet, const QList<int>& ticked) override;
    QString saveFileName(const QString& caption, const QString& suggestedName, const QString& filters) override;
    QStringList openFileNames(const QString& caption, const QString& filters) override;
    QString existingFolder(const QString& caption) override;
    bool choosePrinter(QPrinter& printer) override;
    std::unique_ptr<ReportProgress> progress(const QString& title) override;
    std::optional<QString> askText(const QString& caption, const QString& prompt) override;
    void editDefinition(const ReportDefinition& definition, ReportEditing& editing) override;
    std::optional<SignInAnswer> signIn(const QString& database, const QString& user, const QString& problem) override;

    // Installs a fresh scripted service and returns it.
    static ScriptedDialogs& reset();

private:
    QQueue<std::optional<int>> m_picks;
    QQueue<std::optional<QList<int>>> m_chooses;
    QQueue<QString> m_saves;
    QQueue<QStringList> m_opens;
    QQueue<QString> m_folders;
    int m_cancelAt = 0;
    QQueue<QString> m_prints;
    QQueue<std::pair<std::function<void(ReportDefinition&)>, EditEnd>> m_edits;
    QQueue<std::optional<QString>> m_texts;
    QQueue<bool> m_confirms;
    QQueue<std::optional<SignInAnswer>> m_signIns;
};
