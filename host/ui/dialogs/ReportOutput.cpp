#include "ReportOutput.h"

#include "BusyCursor.h"
#include "Dialogs.h"
#include "PagePainter.h"
#include "ReportFiles.h"
#include "ReportProgress.h"

#include "Exceptions.h"

#include <QFile>
#include <QPrinter>

using namespace Qt::StringLiterals;

void PrintReport(const ReportLayout& layout)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(layout.data().definition.title);
    printer.setPageLayout(layout.pageLayout());
    printer.setFullPage(true);
    printer.setFromTo(1, layout.pageCount());
    if (!Dialogs::current().choosePrinter(printer))
        return;
    const BusyCursor busy;
    const std::unique_ptr<ReportProgress> progress = Dialogs::current().progress(u"Imprimindo"_s);
    try {
        if (printer.printRange() == QPrinter::PageRange)
            paintPages(layout, printer, *progress, printer.fromPage() - 1, printer.toPage() - 1);
        else
            paintPages(layout, printer, *progress);
    } catch (const EAbort&) {
        // Printed to a file, the pages drawn so far go; a printer takes the cancel only where it can.
        printer.abort();
        if (!printer.outputFileName().isEmpty())
            QFile::remove(printer.outputFileName());
        throw;
    }
}

QString AskReportFile(const QString& title)
{
    return Dialogs::current().saveFileName(u"Salvar como"_s, title + u".pdf"_s, reportFileFilters());
}

void SaveReport(const std::shared_ptr<const ReportData>& data, const QString& fileName)
{
    const BusyCursor busy;
    const std::unique_ptr<ReportProgress> progress = Dialogs::current().progress(u"Salvando"_s);
    saveReport(data, fileName, *progress);
}
