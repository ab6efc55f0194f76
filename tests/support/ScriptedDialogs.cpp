#include "ScriptedDialogs.h"

#include "DataSetModel.h"
#include "Dispatch.h"
#include "ReportEditing.h"
#include "ReportProgress.h"

#include <QPrinter>

using namespace Qt::StringLiterals;

QStringList ScriptedDialogs::texts(const QString& kind) const
{
    QStringList result;
    for (const Shown& entry : shown)
        if (entry.kind == kind)
            result.append(entry.text);
    return result;
}

void ScriptedDialogs::showError(const QString& text) { shown.append({u"error"_s, {}, text}); }

void ScriptedDialogs::showFailure(const QString& text) { shown.append({u"error"_s, {}, text, {}, true}); }

void ScriptedDialogs::showInformation(const QString& text) { shown.append({u"information"_s, {}, text}); }

bool ScriptedDialogs::confirm(const QString& question)
{
    shown.append({u"confirm"_s, {}, question});
    return !m_confirms.isEmpty() && m_confirms.dequeue();
}

std::optional<int> ScriptedDialogs::pickRow(const QString& title, TDataSet& dataSet)
{
    shown.append({u"pick"_s, title, DataSetModel(dataSet, false).labels().join(u'|')});
    return m_picks.isEmpty() ? std::nullopt : m_picks.dequeue();
}

std::optional<QList<int>> ScriptedDialogs::chooseRows(const QString& title, TDataSet& dataSet, const QList<int>& ticked)
{
    shown.append({u"choose"_s, title, DataSetModel(dataSet, true).labels().join(u'|'), ticked});
    return m_chooses.isEmpty() ? std::nullopt : m_chooses.dequeue();
}

QString ScriptedDialogs::saveFileName(const QString& caption, const QString& suggestedName, const QString&)
{
    shown.append({u"save"_s, caption, suggestedName});
    return m_saves.isEmpty() ? QString() : m_saves.dequeue();
}

QStringList ScriptedDialogs::openFileNames(const QString& caption, const QString& filters)
{
    shown.append({u"open"_s, caption, filters});
    return m_opens.isEmpty() ? QStringList() : m_opens.dequeue();
}

QString ScriptedDialogs::existingFolder(const QString& caption)
{
    shown.append({u"folder"_s, caption, {}});
    return m_folders.isEmpty() ? QString() : m_folders.dequeue();
}

ScriptedDialogs& ScriptedDialogs::reset()
{
    auto dialogs = std::make_unique<ScriptedDialogs>();
    ScriptedDialogs& result = *dialogs;
    install(std::move(dialogs));
    return result;
}

bool ScriptedDialogs::choosePrinter(QPrinter& printer)
{
    shown.append({u"print"_s, {}, {}});
    if (m_prints.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_prints.dequeue());
    return true;
}

namespace {

// Cancels at step number cancelAt (never when 0).
class ScriptedProgress : public ReportProgress {
public:
    explicit ScriptedProgress(int cancelAt) : m_cancelAt(cancelAt) {}
    bool step(const QString&, qint64, qint64) override { return ++m_steps != m_cancelAt; }

private:
    int m_cancelAt;
    int m_steps = 0;
};

} // namespace

std::unique_ptr<ReportProgress> ScriptedDialogs::progress(const QString& title)
{
    progressTitles.append(title);
    return std::make_unique<ScriptedProgress>(std::exchange(m_cancelAt, 0));
}

std::optional<QString> ScriptedDialogs::askText(const QString& caption, const QString& prompt)
{
    shown.append({u"text"_s, caption, prompt});
    return m_texts.isEmpty() ? std::nullopt : m_texts.dequeue();
}

std::optional<SignInAnswer> ScriptedDialogs::signIn(const QString& database, const QString& user,
                                                    const QString& problem)
{
    shown.append({u"signin"_s, database, user + u'|' + problem});
    return m_signIns.isEmpty() ? std::nullopt : m_signIns.dequeue();
}

void ScriptedDialogs::editDefinition(const ReportDefinition& definition, ReportEditing& editing)
{
    shown.append({u"edit"_s, definition.title, {}});
    if (m_edits.isEmpty())
        return;
    const auto [change, end] = m_edits.dequeue();
    ReportDefinition edited = definition;
    change(edited);
    Dispatch([&] { end == EditEnd::Save ? editing.save(edited) : editing.saveAsNew(edited); });
}
