// Running a definition: what each query's event receives and binds, how a broken definition or a failing query
// reads, and the pages the rows are laid out on.
#include "ReportFixture.h"

#include "Exceptions.h"

#include <QElapsedTimer>

using namespace Qt::StringLiterals;

namespace {

using ReportRunTest = ReportTest;

QString messageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EHostError& e) {
        return e.message();
    }
    return {};
}

} // namespace

// The event fires once per query, in order, with the names of that query's text; the values are bound, so a quote in
// a value is just a character; the run records each parameter once with its first value.
TEST_F(ReportRunTest, EachQueryGetsItsOwnParametersFromTheEventAndBindsThemAsValues)
{
    QStringList fired;
    const auto layout =
        run(definition(SalesDefinition(u"SELECT CDFISCOPER, NRNOTA, DTEMISSAO, DSPRODUTO, VRTOTAL, QTITENS FROM VENDA "
                                       "WHERE CDEMPRESA = :P_EMPRESA AND DSPRODUTO <> :P_PRODUTO "
                                       "AND DTEMISSAO >= :P_DTINICIO ORDER BY CDFISCOPER"_s)),
            [&](TParams& params, bool&) {
                fired.append(params.Names().join(u','));
                params.ParamByName(u"P_EMPRESA"_s)->SetAsString(u"01' OR '1' = '1"_s);
                if (TParam* product = params.FindParam(u"P_PRODUTO"_s))
                    product->SetAsString(u"Arroz"_s);
                if (TParam* start = params.FindParam(u"P_DTINICIO"_s))
                    start->SetAsVariant(QDateTime(QDate(2025, 3, 9), QTime(15, 30)));
            });
    EXPECT_EQ(fired, (QStringList{u"P_EMPRESA"_s, u"P_EMPRESA,P_PRODUTO,P_DTINICIO"_s}));
    EXPECT_TRUE(layout->data().detail.rows.isEmpty()) << "no company is called that";
    EXPECT_EQ(layout->data().header.value(0), u"Empresa: 01' OR '1' = '1, primeira nota "_s);

    const auto dated = run(definition(SalesDefinition(u"SELECT * FROM VENDA WHERE DTEMISSAO >= :P_DTINICIO"_s)),
                           [](TParams& params, bool&) {
                               if (TParam* start = params.FindParam(u"P_DTINICIO"_s))
                                   start->SetAsVariant(QDateTime(QDate(2025, 3, 9), QTime(15, 30)));
                               if (TParam* company = params.FindParam(u"P_EMPRESA"_s))
                                   company->SetAsString(u""_s);
                           });
    EXPECT_EQ(dated->data().detail.rows.size(), 4) << "a date-time is bound as its date";
    QStringList recorded;
    for (const ReportParameter& parameter : dated->data().parameters)
        recorded.append(parameter.name + u'=' + parameterText(parameter.value));
    EXPECT_EQ(recorded, (QStringList{u"P_EMPRESA=(vazio)"_s, u"P_DTINICIO=09/03/2025"_s}));

    EXPECT_THROW(run(definition(SalesDefinition()), [](TParams&, bool& allow) { allow = false; }), EAbort);
}

// A report only reads: a query that would change the database fails, and the rows stay.
TEST_F(ReportRunTest, AFailingQueryIsOneMessageNamingTheReportAndTheQuery)
{
    const struct {
        const char* name;
        QString sql;
        QString driverSays;
    } cases[] = {
        {"unknown column", u"SELECT NADA FROM VENDA"_s, u"NADA"_s},
        {"a query that writes", u"DELETE FROM VENDA"_s, u"só lê dados"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ReportDefinition report = definition(SalesDefinition(c.sql));
        const QString message = messageOf([&] { run(report); });
        EXPECT_TRUE(message.contains(u"\"Vendas por CFOP\""_s) && message.contains(u"\"qryVendas\""_s))
            << qPrintable(message);
        EXPECT_TRUE(message.contains(c.driverSays, Qt::CaseInsensitive)) << qPrintable(message);
    }
    QSqlQuery count(connection.Database());
    ASSERT_TRUE(count.exec(u"SELECT COUNT(*) FROM VENDA"_s) && count.next());
    EXPECT_EQ(count.value(0).toInt(), 6);
    EXPECT_FALSE(run(definition(SalesDefinition()))->data().detail.rows.isEmpty()) << "the connection writes no more";
}

// A statement that works long before its first row still reports, and stops when the user cancels.
TEST_F(ReportRunTest, ALongStatementStopsAtTheCancel)
{
    const ReportDefinition report = definition(
        SalesDefinition(u"WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 100000000) "
                        "SELECT COUNT(*) AS NRNOTA FROM N WHERE :P_EMPRESA <> ''"_s));
    const ReportRunner runner(
        connection, [](TParams& params, bool&) { params.ParamByName(u"P_EMPRESA"_s)->SetAsString(u"01"_s); }, {});
    CancelAt cancel(3);
    QElapsedTimer clock;
    clock.start();
    EXPECT_THROW(runner.run(report, cancel), EAbort);
    EXPECT_LT(clock.elapsed(), 3000) << "a hundred million rows take far longer";
    EXPECT_FALSE(run(definition(SalesDefinition()))->data().detail.rows.isEmpty()) << "the connection works on";
}

TEST_F(ReportRunTest, ABrokenDefinitionIsOneMessageNamingTheFileAndTheProblem)
{
    const QString valid = SalesDefinition();
    const struct {
        const char* name;
        QString json;
        QString problem;
    } cases[] = {
        {"not JSON", u"{\"title\": \"Vendas\",}"_s, u"linha 1, coluna 20"_s},
        {"no query", QString(valid).replace(u"\"queries\""_s, u"\"consultas\""_s), u"nenhuma consulta"_s},
        {"an unknown format", QString(valid).replace(u"\"cfop\"}"_s, u"\"moeda\"}"_s), u"\"moeda\""_s},
        {"a subtotal of a text column", QString(valid).replace(u"[\"VRTOTAL\", \"QTITENS\"]}"_s, u"[\"NRNOTA\"]}"_s),
         u"\"NRNOTA\""_s},
        {"a header citing no query", QString(valid).replace(u"qryPrimeira.NRNOTA"_s, u"qryOutra.NRNOTA"_s),
         u"\"qryOutra\""_s},
        {"a column naming no field",
         QString(valid).replace(u"\"DSPRODUTO\", \"caption\""_s, u"\"DSITEM\", \"caption\""_s), u"\"DSITEM\""_s},
        {"a group on an unknown field",
         QString(valid).replace(u"\"groups\": [{\"field\": \"CDFISCOPER\""_s, u"\"groups\": [{\"field\": \"CDCFOP\""_s),
         u"\"CDCFOP\""_s},
        {"a detail that is nothing",
         QString(valid).replace(u"\"detail\": \"qryVendas\""_s, u"\"detail\": \"dtsNada\""_s), u"\"dtsNada\""_s},
        {"a detail that is a refusal query",
         QString(valid).replace(u"{\"name\": \"qryVendas\","_s, u"{\"name\": \"qryVendas\", \"refusal\": true,"_s),
         u"recusa"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString message = messageOf([&] { run(definition(c.json, u"quebrado.json"_s)); });
        EXPECT_TRUE(message.contains(path(u"quebrado.json"_s)) && message.contains(c.problem)) << qPrintable(message);
    }
}

// Many rows in groups: every page has the title, the captions and its number; only the first lists the parameters;
// a heading never ends a page and a group that goes on from the page before repeats its heading; the column of the
// group's field is left to the heading; subtotals and totals add the rows up.
TEST_F(ReportRunTest, PagesRepeatTheirFrameAndTheSumsAddTheRowsUp)
{
    exec(u"WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 300) "
         "INSERT INTO VENDA SELECT '01', CASE WHEN I <= 100 THEN '1102' ELSE '5949' END, printf('%06d', 1000 + I), "
         "'2025-03-15', 'Item ' || I, 0.1, 1 FROM N"_s);
    const auto layout = run(definition(SalesDefinition()));
    const int pages = layout->pageCount();
    ASSERT_GT(pages, 3);
    QString heading, continued; // the last group opened, and the heading of a page that goes on with it
    for (int index = 0; index < pages; ++index) {
        SCOPED_TRACE(index);
        const QString texts = TextsOf(layout->page(index));
        EXPECT_TRUE(texts.startsWith(u"Vendas por CFOP|RLX582|Empresa: 01, primeira nota 000010|"_s));
        EXPECT_TRUE(texts.contains(u"|Número|Emissão|Produto|Valor|Itens|"_s)) << "captions on every page";
        EXPECT_FALSE(texts.contains(u"|CFOP|Número|"_s)) << "the group's column";
        EXPECT_TRUE(texts.endsWith(u"|Página %1 de %2"_s.arg(index + 1).arg(pages)));
        EXPECT_EQ(texts.contains(u"|Parâmetros|P_EMPRESA = 01|"_s), index == 0);
        EXPECT_FALSE(texts.section(u"|Emitido em"_s, 0, 0).section(u'|', -1).startsWith(u"CFOP:"_s))
            << "a heading at the foot of the page";
        const QString first = texts.section(u"|Itens|"_s, 1).section(u'|', 0, 0);
        if (index > 0 && first.endsWith(u" (continuação)"_s)) {
            EXPECT_EQ(first, heading + u" (continuação)"_s);
            continued += first + u'|';
        } else if (index > 0) {
            EXPECT_TRUE(first.startsWith(u"CFOP: "_s)) << qPrintable(first);
        }
        for (const QString& text : texts.split(u'|'))
            if (text.startsWith(u"CFOP: "_s) && !text.endsWith(u")"_s))
                heading = text;
    }
    EXPECT_TRUE(continued.contains(u"CFOP: 1.102 (continuação)"_s) &&
                continued.contains(u"CFOP: 5.949 (continuação)"_s))
        << qPrintable(continued);
    QString all;
    for (int index = 0; index < pages; ++index)
        all += TextsOf(layout->page(index));
    EXPECT_TRUE(all.contains(u"Subtotal CFOP 1.102|10,00|100|"_s)) << "a hundred times 0,10";
    EXPECT_TRUE(all.contains(u"Subtotal CFOP 5.949|20,00|200|"_s));
    EXPECT_TRUE(all.contains(u"Subtotal CFOP 5.102|1.334,96|4|"_s));
    EXPECT_TRUE(all.contains(u"Total geral|1.354,46|307|"_s));
}

// However many rows there are, the totals share their page with rows; no caption, heading or label is cut (a text
// wider than its place wraps), and columns keep 2 mm apart.
TEST_F(ReportRunTest, TheTotalsKeepCompanyAndNoCaptionOrLabelIsCut)
{
    const ReportDefinition narrow = definition(uR"({
      "code": "RLX582", "title": "Vendas por produto", "orientation": "portrait",
      "queries": [{"name": "qryVendas", "sql": ["SELECT * FROM VENDA"]}],
      "detail": "qryVendas",
      "columns": [
        {"field": "VRTOTAL", "caption": "Valor total da nota fiscal", "width": 12, "align": "right", "format": "amount"},
        {"field": "QTITENS", "caption": "Quantidade de itens", "width": 10, "align": "right", "format": "integer"},
        {"field": "NRNOTA", "caption": "Número", "width": 14},
        {"field": "DSPRODUTO", "caption": "Produto", "width": 60}
      ],
      "groups": [{"field": "DSPRODUTO", "caption": "Produto vendido", "subtotals": ["VRTOTAL", "QTITENS"]}],
      "totals": ["VRTOTAL", "QTITENS"]
    })"_s);
    const QString product = u"Feijão carioca tipo 1 em pacotes de um quilo, da safra de 2025, comprado do fornecedor "
                            "habitual da empresa para a revenda nas lojas de todo o estado de São Paulo"_s;
    for (int rows = 40; rows <= 140; ++rows) {
        SCOPED_TRACE(rows);
        auto data = std::make_shared<ReportData>();
        data->definition = narrow;
        data->detail.fields = {u"VRTOTAL"_s, u"QTITENS"_s, u"NRNOTA"_s, u"DSPRODUTO"_s};
        for (int row = 0; row < rows; ++row)
            data->detail.rows.append({1.0, 1, QString::number(row), row < 30 ? u"Arroz"_s : product});
        const ReportLayout layout(data);
        QStringList sums;
        for (int index = 0; index < layout.pageCount(); ++index) {
            QList<QRectF> captions;
            for (const PageItem& item : layout.page(index)) {
                if (item.kind != PageItem::Kind::Text)
                    continue;
                if (item.style != TextStyle::Cell) {
                    EXPECT_LE(textWidth(item.style, item.text), item.rect.width() + 1e-9) << qPrintable(item.text);
                }
                if (item.style == TextStyle::Caption &&
                    (captions.isEmpty() || captions.last().left() != item.rect.left()))
                    captions.append(item.rect);
                if (item.style == TextStyle::Sum)
                    sums.append(item.text);
            }
            for (qsizetype i = 1; i < captions.size(); ++i)
                EXPECT_GE(captions[i].left() - captions[i - 1].right(), 2 - 1e-9) << "columns apart";
            EXPECT_FALSE(TextsOf(layout.page(index)).contains(u"|Produto|"_s)) << "the group's column";
        }
        EXPECT_TRUE(sums.join(u' ').contains(u"Subtotal Produto vendido "_s + product)) << "the label whole";
        const PageContent last = layout.page(layout.pageCount() - 1);
        EXPECT_TRUE(TextsOf(last).contains(u"Total geral"_s));
        EXPECT_TRUE(std::any_of(last.begin(), last.end(), [](const PageItem& item) {
            return item.kind == PageItem::Kind::Text && item.style == TextStyle::Cell;
        })) << "rows with the totals";
    }
}

// Groups within groups: the headings that open together stay with their first row.
TEST_F(ReportRunTest, NestedHeadingsNeverEndAPage)
{
    exec(u"WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 400) "
         "INSERT INTO VENDA SELECT '01', printf('%04d', 1000 + I / 3), printf('%06d', 1000 + I), '2025-03-15', "
         "'Item', 1, 1 FROM N"_s);
    const QString twoLevels = SalesDefinition().replace(
        u"\"subtotals\": [\"VRTOTAL\", \"QTITENS\"]}]"_s,
        u"\"subtotals\": [\"VRTOTAL\", \"QTITENS\"]}, {\"field\": \"NRNOTA\", \"caption\": \"Nota\"}]"_s);
    const auto layout = run(definition(twoLevels));
    ASSERT_GT(layout->pageCount(), 3);
    for (int index = 0; index < layout->pageCount(); ++index) {
        SCOPED_TRACE(index);
        const QString last = TextsOf(layout->page(index)).section(u"|Emitido em"_s, 0, 0).section(u'|', -1);
        EXPECT_FALSE(last.startsWith(u"Nota:"_s) || last.startsWith(u"CFOP:"_s)) << qPrintable(last);
    }
}

TEST_F(ReportRunTest, AReportWithoutRowsShowsItsFrameAndSaysSo)
{
    const auto layout = run(definition(SalesDefinition()),
                            [](TParams& params, bool&) { params.ParamByName(u"P_EMPRESA"_s)->SetAsString(u"99"_s); });
    ASSERT_EQ(layout->pageCount(), 1);
    const QString texts = TextsOf(layout->page(0));
    EXPECT_TRUE(texts.contains(u"|Nenhum documento atende aos parâmetros informados.|"_s)) << qPrintable(texts);
    EXPECT_TRUE(texts.contains(u"|Número|Emissão|"_s));
    EXPECT_FALSE(texts.contains(u"Total geral"_s));
}
