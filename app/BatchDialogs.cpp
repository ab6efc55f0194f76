#include "BatchDialogs.h"

#include "MensErro.h"
#include "ReportProgress.h"
#include "TDataSet.h"

#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// One line on a terminal, rewritten as the work goes on.
class TerminalProgress : public ReportProgress {
public:
    explicit TerminalProgress(QString title) : m_title(std::move(title)) {}
    ~TerminalProgress() override
    {
        if (m_written)
            std::fputs("\n", stderr);
    }
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    bool step(const QString& stage, qint64 done, qint64 total) override
    {
        const QString count = total > 0  ? u" %1 de %2"_s.arg(done).arg(total)
                              : done > 0 ? u" %1"_s.arg(done)
                                         : QString();
        std::fprintf(stderr, "\r\033[K%s: %s%s", qPrintable(m_title), qPrintable(stage), qPrintable(count));
        std::fflush(stderr);
        m_written = true;
        return true;
    }

private:
    QString m_title;
    bool m_written = false;
};

bool RowReads(const QVariantList& row, const QString& code)
{
    return std::any_of(row.begin(), row.end(),
                       [&](const QVariant& value) { return value.toString().trimmed() == code; });
}

} // namespace

void BatchDialogs::showError(const QString& text) { m_messages.append({text, false}); }

void BatchDialogs::showFailure(const QString& text) { m_messages.append({text, true}); }

// Nothing the run says for information stops it; the outcome is what the error output tells.
void BatchDialogs::showInformation(const QString&) {}

std::optional<int> BatchDialogs::pickRow(const QString&, TDataSet&) { return std::nullopt; }

std::optional<QList<int>> BatchDialogs::chooseRows(const QString& title, TDataSet& dataSet, const QList<int>&)
{
    if (m_codes.isEmpty())
        return std::nullopt;
    QList<int> chosen;
    for (const QString& code : m_codes.dequeue()) {
        const qsizetype before = chosen.size();
        for (int row = 0; row < dataSet.Rows().size(); ++row)
            if (RowReads(dataSet.Rows()[row], code) && !chosen.contains(row))
                chosen.append(row);
        if (chosen.size() == before)
            MensErro(u"O código '%1' não está na lista \"%2\"."_s.arg(code, title), true);
    }
    std::sort(chosen.begin(), chosen.end());
    return chosen;
}

QString BatchDialogs::saveFileName(const QString&, const QString&, const QString&)
{
    return m_saves.isEmpty() ? QString() : m_saves.dequeue();
}

bool BatchDialogs::choosePrinter(QPrinter&) { return false; }

std::unique_ptr<ReportProgress> BatchDialogs::progress(const QString& title)
{
    if (isatty(STDERR_FILENO))
        return std::make_unique<TerminalProgress>(title);
    return std::make_unique<NoProgress>();
}

std::optional<QString> BatchDialogs::askText(const QString&, const QString&) { return std::nullopt; }

void BatchDialogs::editDefinition(const ReportDefinition&, ReportEditing&) {}

BatchDialogs& BatchDialogs::install()
{
    auto dialogs = std::make_unique<BatchDialogs>();
    BatchDialogs& installed = *dialogs;
    Dialogs::install(std::move(dialogs));
    return installed;
}
