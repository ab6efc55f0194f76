#pragma once

#include "hostfw_export.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QPrinter;
class ReportEditing;
class ReportProgress;
class TDataSet;
struct ReportDefinition;

// What a person gave to sign in.
struct SignInAnswer {
    QString user;
    QString password;
};

// Every modal interaction goes through this service: the application installs QtDialogs, tests ScriptedDialogs.
class HOSTFW_EXPORT Dialogs {
public:
    virtual ~Dialogs() = default;

    // A complaint about what the user gave (a field left wrong), which the user can mend.
    virtual void showError(const QString& text) = 0;
    // A failure that ended the user's action: the server, the database, a file. Shown as showError unless the
    // service tells the two apart.
    virtual void showFailure(const QString& text) { showError(text); }
    virtual void showInformation(const QString& text) = 0;
    // A question answered yes or no, such as whether to discard what was edited; true for yes. A service with no one
    // to ask answers no, which loses nothing.
    virtual bool confirm(const QString&) { return false; }
    // Pick list over the visible fields of dataSet (display labels, display widths); a filter box; Enter or
    // double-click picks, Esc cancels. Returns the dataset row index picked, or nullopt. Never called with an
    // empty dataset.
    virtual std::optional<int> pickRow(const QString& title, TDataSet& dataSet) = 0;
    // Multiple-choice list (check boxes) over the visible fields, the rows of ticked checked when it opens; a filter
    // box; Space ticks or unticks the current row, Enter confirms, Esc cancels. Returns the chosen row indexes in
    // list order (possibly empty), or nullopt when cancelled.
    virtual std::optional<QList<int>> chooseRows(const QString& title, TDataSet& dataSet, const QList<int>& ticked) = 0;
    // File to save to; the empty text when cancelled. A name typed without an extension gets the extension of the
    // filter chosen, and an existing file is only taken once the user agrees to replace it.
    virtual QString saveFileName(const QString& caption, const QString& suggestedName, const QString& filters) = 0;
    // Files to open, chosen by the user among those filters match ("XML (*.xml);;Todos (*)"); none when cancelled. A
    // service without a person to ask chooses none.
    virtual QStringList openFileNames(const QString& caption, const QString& filters);
    // A folder chosen by the user; the empty text when cancelled. A service without a person to ask chooses none.
    virtual QString existingFolder(const QString& caption);
    // The printer to print on, chosen and set up by the user; false when cancelled.
    virtual bool choosePrinter(QPrinter& printer) = 0;
    // Progress of a long piece of work titled title, with a cancel button, shown once the work has taken half a
    // second; it closes when the returned object goes.
    virtual std::unique_ptr<ReportProgress> progress(const QString& title) = 0;
    // A line of text the user types, prompted by prompt; nullopt when cancelled.
    virtual std::optional<QString> askText(const QString& caption, const QString& prompt) = 0;
    // The user and password to sign in to database (its address), the user field holding user at first; problem
    // says why it is asked again (a refused password), empty the first time. nullopt when cancelled. A service
    // without a person to ask gives none.
    virtual std::optional<SignInAnswer> signIn(const QString& database, const QString& user, const QString& problem);
    // The definition editor, until the user cancels or editing saves what the user edited (as it is or as a new
    // report); a failure to save is shown and the editing goes on.
    virtual void editDefinition(const ReportDefinition& definition, ReportEditing& editing) = 0;

    // The installed service; QtDialogs when none was installed.
    static Dialogs& current();
    static void install(std::unique_ptr<Dialogs> dialogs);
};
