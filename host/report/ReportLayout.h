#pragma once

#include "ReportData.h"

#include <QPageLayout>
#include <QRectF>

#include <memory>
#include <vector>

// The look of a text on a page; each style has its own font (PagePainter).
enum class TextStyle { Title, Code, Header, ParameterCaption, Parameter, Caption, Cell, Heading, Sum, Notice, Footer };

// A positioned piece of a page, in millimetres from the page's top-left corner: a text written on one line within
// rect (cut with an ellipsis when it does not fit), or a line from rect's top-left to its top-right corner.
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
// Every page: the title and the report code, the header lines, the column captions, and a footer with the
// emission date and time and "Página N de M". The first page also lists every parameter with the value bound to
// it. Then the rows, each group under a heading and over its subtotal, and the report totals; a report without
// rows says that no document matches the parameters. A group heading never ends a page.
// A run cut short at a row limit numbers its pages "Página N de ? (prévia parcial)".
class HOSTFW_REPORT_EXPORT ReportLayout {
public:
    explicit ReportLayout(std::shared_ptr<const ReportData> data);

    const ReportData& data() const { return *m_data; }
    QPageLayout pageLayout() const;
    int pageCount() const { return static_cast<int>(m_pageStarts.size()); }
    // The items of the page (0-based).
    PageContent page(int index) const;

private:
    struct Band {
        enum Kind : quint8 { Heading, Row, Subtotal, Totals, NoRows };
        Kind kind;
        quint8 level; // Heading, Subtotal: the group's level, 0 the outermost
        int index;    // Heading, Row: the row; Subtotal: its entry in m_subtotals
    };
    struct Column {
        int field; // in the detail
        double left, width;
        ColumnFormat format;
        Qt::Alignment alignment;
    };

    void placeColumns();
    void buildBands();
    void breakPages();
    static double heightOf(Band::Kind kind);
    double bodyTop(int page) const;
    double bodyBottom() const;
    double pageWidth() const;
    double pageHeight() const;

    void addPageHeader(PageContent& page, int index) const;
    void addFooter(PageContent& page, int index) const;
    void addBand(PageContent& page, const Band& band, double top) const;
    void addSums(PageContent& page, const QString& label, double labelLeft, const QStringList& fields,
                 const QList<double>& sums, double top, double height) const;
    int parameterLines() const;

    std::shared_ptr<const ReportData> m_data;
    QList<Column> m_columns;
    QList<int> m_groupFields; // detail field of each group
    std::vector<Band> m_bands;
    struct Subtotal {
        int row;            // a row of the group, for its value
        QList<double> sums; // in the order of the group's subtotals
    };
    std::vector<Subtotal> m_subtotals; // one per Subtotal band
    QList<double> m_totals;
    std::vector<int> m_pageStarts; // the first band of each page
};
