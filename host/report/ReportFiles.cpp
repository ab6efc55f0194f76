#include "ReportFiles.h"

#include "CsvWriter.h"
#include "Exceptions.h"
#include "PagePainter.h"
#include "XlsxWriter.h"

#include <QFileInfo>
#include <QPdfWriter>
#include <QSaveFile>

using namespace Qt::StringLiterals;

QString fileWriteFailure(const QString& fileName, const QString& reason)
{
    return u"O arquivo '%1' não pôde ser gravado: %2."_s.arg(fileName, reason);
}

void writeWhole(const QString& fileName, const std::function<void(QIODevice&)>& write)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EFileWriteError(fileWriteFailure(fileName, file.errorString()));
    write(file);
    if (!file.commit())
        throw EFileWriteError(fileWriteFailure(fileName, file.errorString()));
}

void savePdf(const ReportLayout& layout, const QString& fileName, ReportProgress& progress)
{
    writeWhole(fileName, [&](QIODevice& device) {
        QPdfWriter pdf(&device);
        pdf.setTitle(layout.data().definition.title);
        pdf.setCreator(u"Conferência Fiscal"_s);
        paintPages(layout, pdf, progress);
    });
}

void saveReport(const ReportLayout& layout, const QString& fileName, ReportProgress& progress)
{
    const QString type = QFileInfo(fileName).suffix().toLower();
    if (type == u"pdf")
        savePdf(layout, fileName, progress);
    else if (type == u"csv")
        writeWhole(fileName, [&](QIODevice& device) { writeCsv(layout.data(), device, progress); });
    else if (type == u"xlsx")
        saveXlsx(layout.data(), fileName, progress);
    else
        throw EFileWriteError(fileWriteFailure(fileName, u"o tipo de arquivo deve ser PDF, CSV ou XLSX"_s));
}

QString reportFileFilters()
{
    return u"PDF (*.pdf);;CSV - valores separados por ponto e vírgula (*.csv);;Planilha Excel (*.xlsx)"_s;
}
