#include "ReportFiles.h"

#include "CsvWriter.h"
#include "Exceptions.h"
#include "PdfWriter.h"
#include "SafeSave.h"
#include "XlsxWriter.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

const QList<ReportFileType>& reportFileTypes()
{
    static const QList<ReportFileType> types = {
        {u"pdf"_s, u"PDF (*.pdf)"_s, true,
         [](const std::shared_ptr<const ReportData>& data, QIODevice& device, ReportProgress& progress) {
             writePdf(ReportLayout(data), device, progress);
         }},
        {u"csv"_s, u"CSV - valores separados por ponto e vírgula (*.csv)"_s, false,
         [](const std::shared_ptr<const ReportData>& data, QIODevice& device, ReportProgress& progress) {
             writeCsv(*data, device, progress);
         }},
        {u"xlsx"_s, u"Planilha Excel (*.xlsx)"_s, false,
         [](const std::shared_ptr<const ReportData>& data, QIODevice& device, ReportProgress& progress) {
             writeXlsx(*data, device, progress);
         }},
    };
    return types;
}

QString reportFileFilters()
{
    QStringList filters;
    for (const ReportFileType& type : reportFileTypes())
        filters.append(type.filter);
    return filters.join(u";;"_s);
}

const ReportFileType* reportFileTypeOf(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    for (const ReportFileType& type : reportFileTypes())
        if (type.suffix == suffix)
            return &type;
    return nullptr;
}

void saveReport(const std::shared_ptr<const ReportData>& data, const QString& fileName, ReportProgress& progress)
{
    if (const ReportFileType* type = reportFileTypeOf(fileName))
        return saveWhole(fileName, [&](QIODevice& device) { type->write(data, device, progress); });
    QStringList known;
    for (const ReportFileType& type : reportFileTypes())
        known.append(type.suffix.toUpper());
    throw EFileWriteError(fileWriteFailure(fileName, u"o tipo de arquivo deve ser %1 ou %2"_s.arg(
                                                         known.mid(0, known.size() - 1).join(u", "_s), known.last())));
}
