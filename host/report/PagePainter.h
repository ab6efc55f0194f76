#pragma once

#include "ReportLayout.h"

class QImage;
class QPagedPaintDevice;
class QPainter;
class ReportProgress;

// Draws a page on the painter's device: millimetres at the device's resolution, fonts in points, each text cut
// with an ellipsis where it does not fit its box. One painter for the preview, the printer and the PDF.
HOSTFW_REPORT_EXPORT void paintPage(QPainter& painter, const PageContent& page);

// The page as a picture at dpi dots per inch, on white.
HOSTFW_REPORT_EXPORT QImage renderPage(const ReportLayout& layout, int index, double dpi);

// The pages first to last (0-based; -1: the last page), one after the other, on a paged device (a PDF writer, a
// printer), each laid out as it is drawn; the progress counts the pages. A cancel ends with EAbort.
HOSTFW_REPORT_EXPORT void paintPages(const ReportLayout& layout, QPagedPaintDevice& device, ReportProgress& progress,
                                     int first = 0, int last = -1);
