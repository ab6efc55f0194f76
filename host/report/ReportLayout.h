#pragma once

#include "PageText.h"
#include "ReportData.h"

#include <QPageLayout>
#include <QRectF>

#include <memory>
#include <vector>

// A positioned piece of a page, in millimetres from the page's top-left corner: a text written on one line within
// rect, or a line from rect's top-left to its top-right corner. The layout breaks the texts that must show whole
// into lines that fit; only a detail cell too long for its column is cut, with an ellipsis, when it is drawn.
struct PageItem {
    enum class Kind { Text, Line };
    Kind kind = Kind::Text;
    QRectF rect;
    QString text;
    TextStyle style = TextStyle::Cell;
    Qt::Alignment alignment = Qt::AlignLeft;
};
using PageContent = QList<PageItem>;

// A report laid out on A4 pages in the definition's orientation, as a stream: where the pages break is worked out
// once (a few operations per row), the items of a page only when that page is asked for.
// Every page: the title and the report code, the header lines, the column captions (both wrapped, never cut), and a
// footer with the emission date and time and "Página N de M". The first page also has the parameter block: the
// screen's description of the parameters, then every parameter with the value bound to it, smaller. Then the rows,
// each group under a heading and over its subtotal, and the report totals; a report without rows says that no
// document matches the parameters. A column whose field is a group's is left out: its heading shows the value.
// A group that goes on from the page before repeats its heading with "(continuação)". A group heading never ends a
// page, and a group's last row goes with its subtotals and the totals, so the totals never stand alone. Columns
// keep 2 mm between their texts.
// A run cut short at a row limit numbers its pages "Página N de ? (prévia parcial)".
class HOSTFW_REPORT_EXPORT ReportLayout {
public:
    explicit ReportLayout(std::shared_ptr<const ReportData> data);

    const ReportData& data() const { return *m_data; }
    const std::shared_ptr<const ReportData>& sharedData() const { return m_data; }
    QPageLayout pageLayout() const;
    int pageCount() const { return static_cast<int>(m_pages.size()); }
    // The items of the page (0-based).
    PageContent page(int index) const;

private:
    struct Band {
        enum Kind : quint8 { Heading, Row, Subtotal, Totals, NoRows };
        Kind kind;
        quint8 level;  // Heading, Subtotal: the group's level, 0 the outermost
        quint16 lines; // the text lines the band takes
        int index;     // Heading, Row: the row; Subtotal: its entry in m_subtotals
    };
    struct Column {
        int field;  // in the detail
        int source; // in the definition's columns
        double left, width;
        ColumnFormat format;
        Qt::Alignment alignment;
    };
    struct PageStart {
        int band;
        QList<int> continued; // a row of each group that goes on from the page before, outermost first
    };
    // Where a sums band writes its label and its sums.
    struct SumsPlace {
        QStringList label;
        double labelLeft, labelWidth;
        int sumsLine;
    };

    void placeColumns();
    void wrapCaptions();
    void buildParameterBlock();
    void buildBands();
    void breakPages();
    double heightOf(const Band& band) const;
    double keptTogether(size_t band) const;
    double bodyTop(int page) const;
    double bodyBottom() const;
    double pageWidth() const;
    double pageHeight() const;

    QString headingText(int level, int row, bool continued) const;
    QStringList headingLines(int level, int row, bool continued) const;
    QString subtotalLabel(int level, int row) const;
    SumsPlace sumsPlace(const QString& label, double labelLeft, const QStringList& fields) const;

    void addPageHeader(PageContent& page, int index) const;
    void addFooter(PageContent& page, int index) const;
    double addHeading(PageContent& page, int level, int row, bool continued, double top) const;
    void addBand(PageContent& page, const Band& band, double top) const;
    void addSums(PageContent& page, const SumsPlace& place, const QStringList& fields, const QList<double>& sums,
                 double top, double height) const;

    std::shared_ptr<const ReportData> m_data;
    QStringList m_header; // the header lines, wrapped
    QList<Column> m_columns;
    QList<QStringList> m_captions; // each column's caption in lines
    int m_captionLines = 1;
    QList<int> m_groupFields;     // detail field of each group
    PageContent m_parameterBlock; // from the block's top
    double m_parameterHeight = 0;
    std::vector<Band> m_bands;
    struct Subtotal {
        int row;            // a row of the group, for its value
        QList<double> sums; // in the order of the group's subtotals
    };
    std::vector<Subtotal> m_subtotals; // one per Subtotal band
    QList<double> m_totals;
    std::vector<PageStart> m_pages;
};
