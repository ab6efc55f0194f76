#include "XlsxWriter.h"

#include "Exceptions.h"
#include "ReportFiles.h"
#include "ReportFormat.h"
#include "ReportProgress.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int RowsPerStep = 2000;

struct WorkbookFree {
    void operator()(lxw_workbook* workbook) const { lxw_workbook_free(workbook); }
};
using Workbook = std::unique_ptr<lxw_workbook, WorkbookFree>;

constexpr qsizetype MaximumRows = 1048575; // below the header row

// Excel takes at most 31 characters, none of []:*?/\, and no apostrophe at either end in a sheet's name.
QByteArray sheetName(const QString& title)
{
    QString name = title;
    for (QChar forbidden : u"[]:*?/\\")
        name.replace(forbidden, u'-');
    name = name.left(31);
    while (name.startsWith(u'\'') || name.endsWith(u'\''))
        name = name.startsWith(u'\'') ? name.mid(1) : name.chopped(1);
    return (name.trimmed().isEmpty() ? u"Relatório"_s : name).toUtf8();
}

lxw_format* numberFormat(lxw_workbook* workbook, const char* pattern)
{
    lxw_format* format = workbook_add_format(workbook);
    format_set_num_format(format, pattern);
    return format;
}

struct Formats {
    lxw_format* caption;
    lxw_format* amount;
    lxw_format* integer;
    lxw_format* date;
};

void writeCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const QVariant& value, ColumnFormat format,
               const Formats& formats)
{
    if (value.isNull())
        return;
    switch (format) {
    case ColumnFormat::Amount:
        worksheet_write_number(sheet, row, column, amountOf(value), formats.amount);
        return;
    case ColumnFormat::Integer:
        worksheet_write_number(sheet, row, column, double(std::llround(value.toDouble())), formats.integer);
        return;
    case ColumnFormat::Date:
        if (const QDate date = dateOf(value); date.isValid()) {
            lxw_datetime when = {date.year(), date.month(), date.day(), 0, 0, 0};
            worksheet_write_datetime(sheet, row, column, &when, formats.date);
            return;
        }
        break;
    case ColumnFormat::Text:
    case ColumnFormat::Cfop:
        break;
    }
    worksheet_write_string(sheet, row, column, value.toString().toUtf8().constData(), nullptr);
}

} // namespace

void saveXlsx(const ReportData& data, const QString& fileName, ReportProgress& progress)
{
    const qsizetype rows = data.detail.rows.size();
    if (rows > MaximumRows)
        throw EFileWriteError(fileWriteFailure(
            fileName,
            u"uma planilha comporta %1 linhas e o relatório tem %2; salve-o como CSV"_s.arg(MaximumRows).arg(rows)));
    const QFileInfo target(fileName);
    QTemporaryFile temporary(target.absoluteDir().filePath(u".XXXXXX.xlsx"_s));
    if (!temporary.open())
        throw EFileWriteError(fileWriteFailure(fileName, temporary.errorString()));
    temporary.close();
    const QByteArray temporaryPath = QFile::encodeName(temporary.fileName());
    const QByteArray folder = QFile::encodeName(target.absolutePath());

    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char*>(folder.constData());
    Workbook workbook(workbook_new_opt(temporaryPath.constData(), &options));
    if (!workbook)
        throw EFileWriteError(fileWriteFailure(fileName, u"a planilha não pôde ser criada"_s));
    lxw_worksheet* sheet = workbook_add_worksheet(workbook.get(), sheetName(data.definition.title).constData());
    if (!sheet)
        throw EFileWriteError(fileWriteFailure(fileName, u"a folha da planilha não pôde ser criada"_s));
    Formats formats{workbook_add_format(workbook.get()), numberFormat(workbook.get(), "#,##0.00"),
                    numberFormat(workbook.get(), "0"), numberFormat(workbook.get(), "dd/mm/yyyy")};
    format_set_bold(formats.caption);

    const QList<ReportColumn>& columns = data.definition.columns;
    QList<int> fields;
    for (qsizetype c = 0; c < columns.size(); ++c) {
        fields.append(data.detail.fieldIndex(columns[c].field));
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), std::max(8.0, columns[c].width / 2), nullptr);
        worksheet_write_string(sheet, 0, lxw_col_t(c), columns[c].caption.toUtf8().constData(), formats.caption);
    }
    worksheet_freeze_panes(sheet, 1, 0);
    worksheet_autofilter(sheet, 0, 0, lxw_row_t(rows), lxw_col_t(columns.size() - 1));
    for (qsizetype r = 0; r < rows; ++r) {
        const QVariantList& values = data.detail.rows[r];
        for (qsizetype c = 0; c < columns.size(); ++c)
            writeCell(sheet, lxw_row_t(r + 1), lxw_col_t(c), values[fields[c]], columns[c].format, formats);
        if ((r + 1) % RowsPerStep == 0)
            Advance(progress, u"Gravando linhas"_s, r + 1, rows);
    }

    const lxw_error closed = workbook_close(workbook.release());
    if (closed != LXW_NO_ERROR)
        throw EFileWriteError(fileWriteFailure(fileName, QString::fromUtf8(lxw_strerror(closed))));
    // The permissions a new file gets (or the earlier file's), not the temporary file's private ones.
    QFile::setPermissions(temporary.fileName(),
                          target.exists() ? target.permissions()
                                          : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (std::rename(temporaryPath.constData(), QFile::encodeName(target.absoluteFilePath()).constData()) != 0)
        throw EFileWriteError(fileWriteFailure(fileName, qt_error_string(errno)));
    temporary.setAutoRemove(false);
}
