#pragma once

#include "Dialogs.h"

// The dialogs a person answers: message boxes, the pick list, the multiple-choice list, the file dialogs, the print
// dialog, the progress window, a line of text and the report
// definition editor.
// Each is modal and parented to the active window.
class HOSTFW_EXPORT QtDialogs : public Dialogs {
public:
    void showError(const QString& text) override;
    void showInformation(const QString& text) override;
    bool confirm(const QString& question) override;
    std::optional<int> pickRow(const QString& title, TDataSet& dataSet) override;
    std::optional<QList<int>> chooseRows(const QString& title, TDataSet& dataSet, const QList<int>& ticked) override;
    QString saveFileName(const QString& caption, const QString& suggestedName, const QString& filters) override;
    QStringList openFileNames(const QString& caption, const QString& filters) override;
    QString existingFolder(const QString& caption) override;
    std::optional<SignInAnswer> signIn(const QString& database, const QString& user, const QString& problem) override;
    bool choosePrinter(QPrinter& printer) override;
    std::unique_ptr<ReportProgress> progress(const QString& title) override;
    std::optional<QString> askText(const QString& caption, const QString& prompt) override;
    void editDefinition(const ReportDefinition& definition, ReportEditing& editing) override;
};
