#include "XlsxWriter.h"

#include "Exceptions.h"
#include "ReportFormat.h"
#include "ReportProgress.h"

#include <QFile>
#include <QIODevice>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <xlsxwriter.h>
#include <zip.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int RowsPerStep = 2000;

struct WorkbookFree {
    void operator()(lxw_workbook* workbook) const { lxw_workbook_free(workbook); }
};
using Workbook = std::unique_ptr<lxw_workbook, WorkbookFree>;

struct ArchiveDiscard {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveDiscard>;

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
    case ColumnFormat::Direction:
        break;
    }
    worksheet_write_string(sheet, row, column, value.toString().toUtf8().constData(), nullptr);
}

// The workbook's properties name libxlsxwriter's model of a spreadsheet program as the application that made it; they
// name this one instead.
void nameApplication(const QString& fileName)
{
    const auto fail = [] { throw EFileWriteError(u"as propriedades da planilha não puderam ser gravadas"_s); };
    int error = 0;
    Archive archive(zip_open(QFile::encodeName(fileName).constData(), 0, &error));
    if (!archive)
        fail();
    const zip_int64_t index = zip_name_locate(archive.get(), "docProps/app.xml", 0);
    zip_stat_t entry;
    if (index < 0 || zip_stat_index(archive.get(), zip_uint64_t(index), 0, &entry) != 0)
        fail();
    QByteArray properties(qsizetype(entry.size), Qt::Uninitialized);
    zip_file_t* file = zip_fopen_index(archive.get(), zip_uint64_t(index), 0);
    if (!file)
        fail();
    const zip_int64_t read = zip_fread(file, properties.data(), entry.size);
    zip_fclose(file);
    if (read != zip_int64_t(entry.size))
        fail();

    static const QRegularExpression application(u"<Application>[^<]*</Application>"_s);
    static const QRegularExpression version(u"<AppVersion>[^<]*</AppVersion>"_s);
    const QByteArray named = QString::fromUtf8(properties)
                                 .replace(application, u"<Application>%1</Application>"_s.arg(ReportFilesCreator))
                                 .remove(version)
                                 .toUtf8();
    zip_source_t* source = zip_source_buffer(archive.get(), named.constData(), zip_uint64_t(named.size()), 0);
    if (!source)
        fail();
    if (zip_file_replace(archive.get(), zip_uint64_t(index), source, 0) < 0) {
        zip_source_free(source);
        fail();
    }
    if (zip_close(archive.get()) != 0)
        fail();
    archive.release(); // closed
}

void copyInto(const QString& fileName, QIODevice& device)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileWriteError(file.errorString());
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    for (qint64 read; (read = file.read(buffer.data(), buffer.size())) > 0;)
        device.write(buffer.constData(), read);
}

} // namespace

void writeXlsx(const ReportData& data, QIODevice& device, ReportProgress& progress)
{
    const qsizetype rows = data.detail.rows.size();
    if (rows > MaximumRows)
        throw EFileWriteError(
            u"uma planilha comporta %1 linhas e o relatório tem %2; salve-o como CSV"_s.arg(MaximumRows).arg(rows));
    const QTemporaryDir work;
    if (!work.isValid())
        throw EFileWriteError(u"a pasta temporária da planilha não pôde ser criada: %1"_s.arg(work.errorString()));
    const QString fileName = work.filePath(u"planilha.xlsx"_s);
    const QByteArray folder = QFile::encodeName(work.path());

    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char*>(folder.constData());
    Workbook workbook(workbook_new_opt(QFile::encodeName(fileName).constData(), &options));
    if (!workbook)
        throw EFileWriteError(u"a planilha não pôde ser criada"_s);
    const QByteArray title = data.definition.title.toUtf8(), subject = data.description.subject.toUtf8(),
                     author = ReportFilesCreator.toUtf8();
    lxw_doc_properties properties = {};
    properties.title = const_cast<char*>(title.constData());
    properties.subject = const_cast<char*>(subject.constData());
    properties.author = const_cast<char*>(author.constData());
    workbook_set_properties(workbook.get(), &properties);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook.get(), sheetName(data.definition.title).constData());
    if (!sheet)
        throw EFileWriteError(u"a folha da planilha não pôde ser criada"_s);
    Formats formats{workbook_add_format(workbook.get()), numberFormat(workbook.get(), "#,##0.00"),
                    numberFormat(workbook.get(), "0"), numberFormat(workbook.get(), "dd/mm/yyyy")};
    format_set_bold(formats.caption);

    const QList<ReportColumn> columns = tableColumns(data.definition);
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
        throw EFileWriteError(QString::fromUtf8(lxw_strerror(closed)));
    nameApplication(fileName);
    copyInto(fileName, device);
}
