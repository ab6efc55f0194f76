// Each report of the screen, run as the screen runs it on the sample data of a new installation, checked as an
// analyst checks it: against SQL of the analyst's own on the same tables, row by row and to the cent, with the sums
// the pages print, for each filter the screen takes for it, one combination and one that finds nothing.
#include "LookupFixture.h"

#include "Exceptions.h"
#include "ReportCatalogue.h"
#include "ReportDefinition.h"
#include "ReportLayout.h"
#include "TComboBox.h"
#include "TDateEditPlus.h"
#include "TNotebook.h"
#include "TReportDesignerDialog.h"

#include <QRegularExpression>
#include <QSqlRecord>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// What the screen holds when the report runs.
struct Screen {
    QString taxOrBook, company, registration;
    QDate start, end;
    int direction = 2; // item of cbbEntrSaid: entries, exits, both
    QString cfop, cst;
    QStringList models, types;
};

struct Case {
    const char* name;
    Screen screen;
    bool findsNothing = false;
};

// A group level of a report as the analyst expects it printed: the field it groups on and the columns it subtotals.
struct Level {
    QString field;
    QStringList sums;
};

struct Report {
    QString title;
    QStringList applies; // the screen's parameters the report declares, no more
    std::function<QString(const Screen&)> expectedSql;
    QList<Level> levels; // outermost first; none of the reports adds unlike values into a grand total
    QList<Case> cases;
};

qint64 Cents(const QVariant& value) { return std::llround(value.toDouble() * 100); }

// A value as both sides can be compared: dates as dates, texts as they are, numbers to the cent.
QString Canonical(const QVariant& value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime)
        return value.toDate().toString(Qt::ISODate);
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    return QString::number(Cents(value));
}

// ":m0, :m1, ..." for a list bound one value a name.
QString Names(const QString& prefix, qsizetype count)
{
    QStringList names;
    for (qsizetype i = 0; i < count; ++i)
        names.append(u":%1%2"_s.arg(prefix).arg(i));
    return names.join(u", "_s);
}

// The conditions of the screen's filters on invoice N, item I and, when cst names it, the tax line's CST.
QString Chosen(const Screen& s, const QString& cst)
{
    QString sql;
    if (s.direction < 2)
        sql += u" AND N.IDENTRSAIDOP = :direcao"_s;
    if (!s.cfop.isEmpty())
        sql += u" AND I.CDFISCOPERIT = :cfop"_s;
    if (!s.cst.isEmpty() && !cst.isEmpty())
        sql += u" AND "_s + cst + u" = :cst"_s;
    if (!s.models.isEmpty())
        sql += u" AND N.CDMODDOCFISC IN ("_s + Names(u"m"_s, s.models.size()) + u')';
    if (!s.types.isEmpty())
        sql += u" AND N.IDENTRSAIDOP || N.CDTIPOOPER IN ("_s + Names(u"t"_s, s.types.size()) + u')';
    return sql;
}

// Booked, not cancelled invoices of the company whose entry/exit date lies in the period.
const QString Booked = u"N.CDEMPRESA = :empresa AND N.IDSITUACAO <> 'C' AND N.DTESCRITURACAO IS NOT NULL"
                       " AND N.DTENTRSAID BETWEEN :inicio AND :fim"_s;

// The PIS (04) and COFINS (05) lines of the items.
const QString PisCofinsLines =
    u" FROM NOTAFISCAL N JOIN ITEMNOTAFISCAL I ON I.NRSEQNOTAFISC = N.NRSEQNOTAFISC"
    " JOIN ITEMNFIMPOSTO T ON T.NRSEQNOTAFISC = I.NRSEQNOTAFISC AND T.NRITEM = I.NRITEM AND T.CDIMPOSTO IN ('04', '05')"
    " JOIN IMPOSTONFE X ON X.CDIMPOSTONFE = T.CDIMPOSTO"_s;

// For each kind, the book's value, the invoices' value and the difference book - invoices, named VR<kind>LV, NF, DIF.
QString SideBySide(const QStringList& kinds, const QString& book, const QString& invoices)
{
    QStringList columns;
    for (const QString& kind : kinds) {
        const QString lv = u"COALESCE(%1.%2, 0)"_s.arg(book, kind), nf = u"COALESCE(%1.%2, 0)"_s.arg(invoices, kind);
        columns << lv + u" AS VR%1LV"_s.arg(kind) << nf + u" AS VR%1NF"_s.arg(kind)
                << lv + u" - "_s + nf + u" AS VR%1DIF"_s.arg(kind);
    }
    return columns.join(u", "_s);
}

// The direction of a PIS/COFINS line by its CST, as the book keeps it: 01 to 49 exits, 50 to 99 entries.
QString DirectionByCst(const Screen& s, const QString& cst)
{
    return s.direction == 2 ? QString() : u" AND %1 %2 '50'"_s.arg(cst, s.direction == 0 ? u">="_s : u"<"_s);
}

QString Pending(const Screen& s)
{
    return u"SELECT CASE WHEN N.IDENTRSAIDOP = 'E' THEN 'Entradas' ELSE 'Saídas' END AS DSOPERACAO, I.CDFISCOPERIT,"
           " N.CDMODDOCFISC, N.NRSERIE, N.NRNOTAFISC, N.IDENTRSAIDOP, N.DTEMISSAO, N.DTENTRSAID, N.DTESCRITURACAO,"
           " N.NMPARTICIPANTE, SUM(I.VRCONTABILIT) AS VRCONTABIL"
           " FROM NOTAFISCAL N JOIN ITEMNOTAFISCAL I ON I.NRSEQNOTAFISC = N.NRSEQNOTAFISC"
           " JOIN ITEMNFIMPOSTO T ON T.NRSEQNOTAFISC = I.NRSEQNOTAFISC AND T.NRITEM = I.NRITEM AND T.CDIMPOSTO = "
           ":imposto"
           " WHERE N.CDEMPRESA = :empresa AND N.CDINSCRICAO = :inscricao AND N.IDSITUACAO <> 'C'"
           " AND N.DTENTRSAID BETWEEN :inicio AND :fim"
           " AND (N.DTESCRITURACAO IS NULL OR EXISTS (SELECT 1 FROM MAPAAPUR M WHERE M.CDEMPRESA = N.CDEMPRESA"
           " AND M.CDINSCRICAO = N.CDINSCRICAO AND M.CDIMPOSTO = :imposto AND M.IDSITUACAO = 'F'"
           " AND N.DTENTRSAID BETWEEN M.DTINIPERIODO AND M.DTFIMPERIODO AND N.DTESCRITURACAO > M.DTFIMPERIODO))"_s +
           Chosen(s, u"T.CDSITUTRIBIT"_s) +
           u" GROUP BY N.NRSEQNOTAFISC, I.CDFISCOPERIT"
           " ORDER BY 1, 2, N.DTENTRSAID, N.NRNOTAFISC, N.NRSEQNOTAFISC"_s;
}

// The CST is not applied: the server that selects the documents does not receive it.
QString GiaSp(const Screen& s)
{
    return u"SELECT N.IDENTRSAIDOP, I.CDFISCOPERIT AS CDFISCOPERNF, N.NRNOTAFISC, N.DTEMISSAO, N.DTENTRSAID,"
           " SUM(I.VRCONTABILIT) AS VRCONTABILNF, SUM(T.VRBASECALCIT) AS VRBASECALCNF,"
           " SUM(T.VRIMPOSTOIT) AS VRIMPOSTONF, SUM(T.VRISENTOIT) AS VRISENTO, SUM(T.VROUTROSIT) AS VROUTROS,"
           " SUM(COALESCE(ST.VRIMPOSTOIT, 0)) AS VRIMPST, SUM(COALESCE(IPI.VRIMPOSTOIT, 0)) AS VRIMPIPI"
           " FROM NOTAFISCAL N JOIN ITEMNOTAFISCAL I ON I.NRSEQNOTAFISC = N.NRSEQNOTAFISC"
           " JOIN ITEMNFIMPOSTO T ON T.NRSEQNOTAFISC = I.NRSEQNOTAFISC AND T.NRITEM = I.NRITEM AND T.CDIMPOSTO = "
           ":imposto"
           " LEFT JOIN ITEMNFIMPOSTO ST ON ST.NRSEQNOTAFISC = I.NRSEQNOTAFISC AND ST.NRITEM = I.NRITEM"
           " AND ST.CDIMPOSTO = '02'"
           " LEFT JOIN ITEMNFIMPOSTO IPI ON IPI.NRSEQNOTAFISC = I.NRSEQNOTAFISC AND IPI.NRITEM = I.NRITEM"
           " AND IPI.CDIMPOSTO = '03'"
           " WHERE N.CDINSCRICAO = :inscricao AND "_s +
           Booked + Chosen(s, {}) +
           u" GROUP BY N.NRSEQNOTAFISC, I.CDFISCOPERIT"
           " ORDER BY N.IDENTRSAIDOP, I.CDFISCOPERIT, N.DTENTRSAID, N.NRNOTAFISC, N.NRSEQNOTAFISC"_s;
}

QString Apportionment(const Screen&)
{
    const QString key = u"SELECT X.CDIMPOSTONFE || ' - ' || X.SGIMPOSTONFE || CASE WHEN M.CDINSCRICAO = '' THEN ''"
                        " ELSE ' - Inscrição ' || M.CDINSCRICAO END AS DSAPURACAO, M.DTINIPERIODO, M.NRMAPAAPUR,"_s;
    const QString maps = u" FROM MAPAAPUR M JOIN IMPOSTONFE X ON X.CDIMPOSTONFE = M.CDIMPOSTO"_s;
    const QString whole = u" WHERE M.CDEMPRESA = :empresa AND M.DTINIPERIODO >= :inicio AND M.DTFIMPERIODO <= :fim"_s;
    return key +
           u" 0 AS NRLINHA, M.NMMAPAAPUR AS DSLINHA, M.VRDEBITOSAIDAS, M.VROUTROSDEBITOS, M.VRESTORNOCREDITOS,"
           " M.VRCREDITOENTRADAS, M.VROUTROSCREDITOS, M.VRESTORNODEBITOS, M.VRSALDOCREDORANT, M.VRDEDUCOES,"
           " M.VRIMPOSTORECOLHER, M.VRSALDOCREDORTRANSP, NULL AS VRAJUSTE"_s +
           maps + whole + u" UNION ALL "_s + key +
           u" A.NRAJUSTE, '   ' || A.CDAJUSTE || ' - ' || A.DSAJUSTE, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,"
           " NULL, NULL, A.VRAJUSTE"_s +
           maps + u" JOIN AJUSTEAPUR A ON A.NRMAPAAPUR = M.NRMAPAAPUR"_s + whole + u" ORDER BY 1, 2, 3, 4"_s;
}

QString GiaRs(const Screen&)
{
    return u"WITH LIVRO AS (SELECT R.CDFISCOPER AS CFOP, SUM(R.VRCONTABIL) AS CONTABIL, SUM(R.VRBASECALC) AS BASECALC,"
           " SUM(R.VRIMPOSTO) AS IMPOSTO, SUM(R.VRISENTO) AS ISENTO, SUM(R.VROUTROS) AS OUTROS FROM TOTALLIVRO R"
           " WHERE R.CDEMPRESA = :empresa AND R.CDINSCRICAO = :inscricao AND R.CDIMPOSTO = :imposto"
           " AND R.CDFISCOPER <> '' AND R.DTINIPERIODO >= :inicio AND R.DTFIMPERIODO <= :fim GROUP BY R.CDFISCOPER),"
           " NOTAS AS (SELECT I.CDFISCOPERIT AS CFOP, SUM(I.VRCONTABILIT) AS CONTABIL, SUM(T.VRBASECALCIT) AS BASECALC,"
           " SUM(T.VRIMPOSTOIT) AS IMPOSTO, SUM(T.VRISENTOIT) AS ISENTO, SUM(T.VROUTROSIT) AS OUTROS"
           " FROM NOTAFISCAL N JOIN ITEMNOTAFISCAL I ON I.NRSEQNOTAFISC = N.NRSEQNOTAFISC"
           " JOIN ITEMNFIMPOSTO T ON T.NRSEQNOTAFISC = I.NRSEQNOTAFISC AND T.NRITEM = I.NRITEM AND T.CDIMPOSTO = "
           ":imposto"
           " WHERE N.CDINSCRICAO = :inscricao AND "_s +
           Booked +
           u" GROUP BY I.CDFISCOPERIT),"
           " CFOPS AS (SELECT CFOP FROM LIVRO UNION SELECT CFOP FROM NOTAS)"
           " SELECT CASE WHEN K.CFOP < '5' THEN 'Entradas' ELSE 'Saídas' END AS DSOPERACAO, K.CFOP AS CDFISCOPER, "_s +
           SideBySide({u"CONTABIL"_s, u"BASECALC"_s, u"IMPOSTO"_s, u"ISENTO"_s, u"OUTROS"_s}, u"L"_s, u"F"_s) +
           u" FROM CFOPS K LEFT JOIN LIVRO L ON L.CFOP = K.CFOP LEFT JOIN NOTAS F ON F.CFOP = K.CFOP ORDER BY 1, 2"_s;
}

QString ByCst(const Screen& s)
{
    return u"SELECT X.CDIMPOSTONFE || ' - ' || X.SGIMPOSTONFE AS DSIMPOSTO, T.CDSITUTRIBIT AS CDSITUTRIB,"
           " N.CDMODDOCFISC, N.NRNOTAFISC, N.IDENTRSAIDOP, N.DTENTRSAID, I.NRITEM, I.CDFISCOPERIT, I.VRTOTALITEM,"
           " I.VRDESCONTOIT, T.VRBASECALCIT AS VRBASECALC, T.VRALIQUOTAIT AS VRALIQUOTA, T.VRIMPOSTOIT AS VRIMPOSTO"_s +
           PisCofinsLines + u" WHERE "_s + Booked + Chosen(s, u"T.CDSITUTRIBIT"_s) +
           u" ORDER BY X.CDIMPOSTONFE, T.CDSITUTRIBIT, N.DTENTRSAID, N.NRNOTAFISC, N.NRSEQNOTAFISC, I.NRITEM"_s;
}

// The book keeps neither CFOP, nor model, nor operation type: those filters apply to neither side.
QString Consolidation(const Screen& s)
{
    const auto cst = [&s](const QString& column) {
        return s.cst.isEmpty() ? QString() : u" AND "_s + column + u" = :cst"_s;
    };
    return u"WITH ITENS AS (SELECT T.CDIMPOSTO, T.CDSITUTRIBIT AS CDCST, T.VRALIQUOTAIT AS ALIQ,"
           " SUM(I.VRCONTABILIT) AS CONTABIL, SUM(T.VRBASECALCIT) AS BASECALC, SUM(T.VRIMPOSTOIT) AS IMPOSTO"
           " FROM NOTAFISCAL N JOIN ITEMNOTAFISCAL I ON I.NRSEQNOTAFISC = N.NRSEQNOTAFISC"
           " JOIN ITEMNFIMPOSTO T ON T.NRSEQNOTAFISC = I.NRSEQNOTAFISC AND T.NRITEM = I.NRITEM"
           " AND T.CDIMPOSTO IN ('04', '05') WHERE "_s +
           Booked + cst(u"T.CDSITUTRIBIT"_s) + DirectionByCst(s, u"T.CDSITUTRIBIT"_s) +
           u" GROUP BY T.CDIMPOSTO, T.CDSITUTRIBIT, T.VRALIQUOTAIT),"
           " LIVRO AS (SELECT R.CDIMPOSTO, R.CDSITUTRIB AS CDCST, R.VRALIQUOTA AS ALIQ, SUM(R.VRCONTABIL) AS CONTABIL,"
           " SUM(R.VRBASECALC) AS BASECALC, SUM(R.VRIMPOSTO) AS IMPOSTO FROM TOTALLIVRO R"
           " WHERE R.CDLIVROMAG = :livro AND R.CDEMPRESA = :empresa AND R.CDSITUTRIB <> ''"
           " AND R.DTINIPERIODO >= :inicio AND R.DTFIMPERIODO <= :fim"_s +
           cst(u"R.CDSITUTRIB"_s) + DirectionByCst(s, u"R.CDSITUTRIB"_s) +
           u" GROUP BY R.CDIMPOSTO, R.CDSITUTRIB, R.VRALIQUOTA),"
           " CHAVES AS (SELECT CDIMPOSTO, CDCST, ALIQ FROM ITENS UNION SELECT CDIMPOSTO, CDCST, ALIQ FROM LIVRO)"
           " SELECT X.CDIMPOSTONFE || ' - ' || X.SGIMPOSTONFE AS DSIMPOSTO, K.CDCST AS CDSITUTRIB,"
           " K.ALIQ AS VRALIQUOTA, "_s +
           SideBySide({u"CONTABIL"_s, u"BASECALC"_s, u"IMPOSTO"_s}, u"L"_s, u"F"_s) +
           u" FROM CHAVES K JOIN IMPOSTONFE X ON X.CDIMPOSTONFE = K.CDIMPOSTO"
           " LEFT JOIN ITENS F ON F.CDIMPOSTO = K.CDIMPOSTO AND F.CDCST = K.CDCST AND F.ALIQ = K.ALIQ"
           " LEFT JOIN LIVRO L ON L.CDIMPOSTO = K.CDIMPOSTO AND L.CDCST = K.CDCST AND L.ALIQ = K.ALIQ"
           " ORDER BY 1, 2, 3"_s;
}

QString ByCfop(const Screen& s)
{
    return u"SELECT X.CDIMPOSTONFE || ' - ' || X.SGIMPOSTONFE AS DSIMPOSTO, I.CDFISCOPERIT,"
           " T.CDSITUTRIBIT AS CDSITUTRIB, T.VRALIQUOTAIT AS VRALIQUOTA, COUNT(*) AS QTITENS,"
           " SUM(I.VRTOTALITEM) AS VRTOTALITEM, SUM(I.VRDESCONTOIT) AS VRDESCONTOIT,"
           " SUM(T.VRBASECALCIT) AS VRBASECALC, SUM(T.VRIMPOSTOIT) AS VRIMPOSTO"_s +
           PisCofinsLines + u" WHERE "_s + Booked + Chosen(s, u"T.CDSITUTRIBIT"_s) +
           u" GROUP BY X.CDIMPOSTONFE, X.SGIMPOSTONFE, I.CDFISCOPERIT, T.CDSITUTRIBIT, T.VRALIQUOTAIT"
           " ORDER BY 1, 2, 3, 4"_s;
}

// Each PIS or COFINS line with its item, the base expected for it (item - discount - ICMS) and the PIS line's base.
QString ItemLines(const Screen& s)
{
    return u"WITH LINHA AS (SELECT N.NRSEQNOTAFISC, N.CDMODDOCFISC, N.NRNOTAFISC, N.IDENTRSAIDOP, N.DTENTRSAID,"
           " I.NRITEM, I.CDFISCOPERIT, X.SGIMPOSTONFE AS SGIMPOSTO, T.CDSITUTRIBIT AS CDSITUTRIB,"
           " T.VRALIQUOTAIT AS VRALIQUOTA, T.VRBASECALCIT AS BC, T.VRIMPOSTOIT AS VRIMPOSTO,"
           " ROUND(I.VRTOTALITEM - I.VRDESCONTOIT - COALESCE(ICMS.VRIMPOSTOIT, 0), 2) AS BCESPERADA,"
           " O.CDSITUTRIBIT AS CSTOUTRO, O.VRBASECALCIT AS BCOUTRO,"
           " CASE WHEN ABS(T.VRALIQUOTAIT - CASE T.CDIMPOSTO WHEN '04' THEN 1.65 ELSE 7.6 END) < 0.001 THEN 'N'"
           " WHEN ABS(T.VRALIQUOTAIT - CASE T.CDIMPOSTO WHEN '04' THEN 0.65 ELSE 3 END) < 0.001 THEN 'C'"
           " ELSE '' END AS REGIME,"
           " CASE WHEN ABS(O.VRALIQUOTAIT - CASE O.CDIMPOSTO WHEN '04' THEN 1.65 ELSE 7.6 END) < 0.001 THEN 'N'"
           " WHEN ABS(O.VRALIQUOTAIT - CASE O.CDIMPOSTO WHEN '04' THEN 0.65 ELSE 3 END) < 0.001 THEN 'C'"
           " ELSE '' END AS REGIMEOUTRO"_s +
           PisCofinsLines +
           u" LEFT JOIN ITEMNFIMPOSTO ICMS ON ICMS.NRSEQNOTAFISC = I.NRSEQNOTAFISC AND ICMS.NRITEM = I.NRITEM"
           " AND ICMS.CDIMPOSTO = '01'"
           " LEFT JOIN ITEMNFIMPOSTO O ON O.NRSEQNOTAFISC = I.NRSEQNOTAFISC AND O.NRITEM = I.NRITEM"
           " AND O.CDIMPOSTO = CASE T.CDIMPOSTO WHEN '04' THEN '05' ELSE '04' END"
           " WHERE "_s +
           Booked + Chosen(s, u"T.CDSITUTRIBIT"_s) + u") "_s;
}

QString Divergences(const Screen& s)
{
    const QString line = u"SELECT '%1' AS DSREGRA, NRSEQNOTAFISC, NRNOTAFISC, IDENTRSAIDOP, DTENTRSAID, NRITEM,"
                         " CDFISCOPERIT, SGIMPOSTO, CDSITUTRIB, VRALIQUOTA, %2 AS VRESPERADO, %3 AS VRDECLARADO,"
                         " %3 - %2 AS VRDIFERENCA FROM LINHA WHERE %4"_s;
    return ItemLines(s) + u"SELECT * FROM ("_s +
           line.arg(u"1 - BC difere de valor do item - desconto - ICMS"_s, u"BCESPERADA"_s, u"BC"_s,
                    u"(VRALIQUOTA <> 0 OR BC <> 0) AND ABS(BC - BCESPERADA) > 0.005"_s) +
           u" UNION ALL "_s +
           line.arg(u"2 - BC da COFINS difere da BC do PIS"_s, u"BCOUTRO"_s, u"BC"_s,
                    u"SGIMPOSTO = 'COFINS' AND ABS(BC - BCOUTRO) > 0.005"_s) +
           u" UNION ALL "_s +
           line.arg(u"3 - BC x alíquota difere do valor do imposto"_s, u"ROUND(BC * VRALIQUOTA / 100, 2)"_s,
                    u"VRIMPOSTO"_s, u"ABS(VRIMPOSTO - BC * VRALIQUOTA / 100) > 0.01"_s) +
           u") D ORDER BY DSREGRA, SGIMPOSTO, DTENTRSAID, NRNOTAFISC, NRSEQNOTAFISC, NRITEM"_s;
}

QString BrokenRules(const Screen& s)
{
    const QString line = u"SELECT '%1' AS DSREGRA, NRSEQNOTAFISC, NRNOTAFISC, IDENTRSAIDOP, DTENTRSAID, NRITEM,"
                         " CDFISCOPERIT, SGIMPOSTO, CDSITUTRIB, VRALIQUOTA, VRIMPOSTO FROM LINHA WHERE %2"_s;
    const QString noIncidence = u"CDSITUTRIB IN ('04', '06', '07', '08', '09')"_s;
    const QString credit = u"CDSITUTRIB BETWEEN '50' AND '56'"_s;
    return ItemLines(s) + u"SELECT * FROM ("_s +
           line.arg(u"1 - CST incompatível com entrada/saída"_s,
                    u"CASE WHEN CDSITUTRIB < '50' THEN 'S' ELSE 'E' END <> IDENTRSAIDOP"_s) +
           u" UNION ALL "_s +
           line.arg(u"2 - Alíquota incompatível com o CST e o regime"_s,
                    u"(%1 AND VRALIQUOTA <> 0) OR (CDSITUTRIB = '01' AND (REGIME = ''"
                    " OR (CSTOUTRO = '01' AND REGIMEOUTRO <> '' AND REGIME <> REGIMEOUTRO)))"
                    " OR (CDSITUTRIB = '02' AND (REGIME <> '' OR VRALIQUOTA = 0)) OR (%2 AND REGIME <> 'N')"_s.arg(
                        noIncidence, credit)) +
           u" UNION ALL "_s +
           line.arg(u"3 - CST sem incidência com valor de imposto"_s, noIncidence + u" AND VRIMPOSTO <> 0"_s) +
           u" UNION ALL "_s +
           line.arg(u"4 - CST de crédito em CFOP de saída"_s, credit + u" AND CDFISCOPERIT >= '5'"_s) +
           u" UNION ALL "_s +
           line.arg(u"5 - CST do PIS diferente do CST da COFINS"_s,
                    u"SGIMPOSTO = 'COFINS' AND CSTOUTRO <> CDSITUTRIB"_s) +
           u") D ORDER BY DSREGRA, SGIMPOSTO, DTENTRSAID, NRNOTAFISC, NRSEQNOTAFISC, NRITEM"_s;
}

struct Table {
    QSqlRecord fields;
    QList<QVariantList> rows;
};

// The analyst's query with the screen's values bound to the names it uses.
Table Expected(const QString& sql, const Screen& s)
{
    QSqlQuery query(dtmDBGeral()->adcGeral->Database());
    EXPECT_TRUE(query.prepare(sql)) << qPrintable(query.lastError().text());
    const auto bind = [&](const QString& name, const QVariant& value) {
        if (sql.contains(QRegularExpression(u":%1\\b"_s.arg(name))))
            query.bindValue(u':' + name, value);
    };
    bind(u"empresa"_s, s.company);
    bind(u"inscricao"_s, s.registration);
    bind(u"imposto"_s, s.taxOrBook);
    bind(u"livro"_s, s.taxOrBook);
    bind(u"inicio"_s, s.start);
    bind(u"fim"_s, s.end);
    bind(u"direcao"_s, s.direction == 0 ? u"E"_s : u"S"_s);
    bind(u"cfop"_s, s.cfop);
    bind(u"cst"_s, s.cst);
    for (qsizetype i = 0; i < s.models.size(); ++i)
        bind(u"m%1"_s.arg(i), s.models[i]);
    for (qsizetype i = 0; i < s.types.size(); ++i)
        bind(u"t%1"_s.arg(i), s.types[i]);
    EXPECT_TRUE(query.exec()) << qPrintable(query.lastError().text());
    Table table{query.record(), {}};
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < table.fields.count(); ++i)
            row.append(query.value(i));
        table.rows.append(row);
    }
    return table;
}

// The subtotals the analyst expects printed, in page order (inner groups close first), in cents.
QList<qint64> Subtotals(const QSqlRecord& fields, const QList<QVariantList>& rows, const QList<Level>& levels)
{
    QList<qint64> printed;
    QList<QList<qint64>> open(levels.size());
    const auto close = [&](qsizetype from) {
        for (qsizetype level = levels.size() - 1; level >= from; --level)
            printed += open[level];
    };
    for (qsizetype row = 0; row < rows.size(); ++row) {
        qsizetype changed = row == 0 ? 0 : levels.size();
        for (qsizetype level = 0; level < levels.size() && changed == levels.size(); ++level) {
            const int field = fields.indexOf(levels[level].field);
            if (Canonical(rows[row][field]) != Canonical(rows[row - 1][field]))
                changed = level;
        }
        if (row > 0)
            close(changed);
        for (qsizetype level = changed; level < levels.size(); ++level)
            open[level] = QList<qint64>(levels[level].sums.size(), 0);
        for (qsizetype level = 0; level < levels.size(); ++level)
            for (qsizetype i = 0; i < levels[level].sums.size(); ++i)
                open[level][i] += Cents(rows[row][fields.indexOf(levels[level].sums[i])]);
    }
    if (!rows.isEmpty())
        close(0);
    return printed;
}

// The sums the pages print (subtotals and totals, not their labels), in cents.
QList<qint64> PrintedSums(const ReportLayout& layout)
{
    static const QRegularExpression number(u"^-?\\d{1,3}(\\.\\d{3})*(,\\d\\d)?$"_s);
    QList<qint64> sums;
    for (int page = 0; page < layout.pageCount(); ++page)
        for (const PageItem& item : layout.page(page))
            if (item.style == TextStyle::Sum && number.match(item.text).hasMatch())
                sums.append(std::llround(QString(item.text).remove(u'.').replace(u',', u'.').toDouble() * 100));
    return sums;
}

// Each row as the texts of the fields given, "|"-joined.
QStringList Texts(const QSqlRecord& fields, const QList<QVariantList>& rows, const std::function<int(int)>& column)
{
    QStringList texts;
    for (const QVariantList& row : rows) {
        QStringList values;
        for (int i = 0; i < fields.count(); ++i)
            values.append(fields.fieldName(i) + u'=' + Canonical(row.value(column(i))));
        texts.append(values.join(u'|'));
    }
    return texts;
}

// The screen's base with one change.
Screen But(Screen s, const std::function<void(Screen&)>& change)
{
    change(s);
    return s;
}

// Each filter alone, one combination and one that finds nothing.
QList<Case> EachFilter(const Screen& base, const QString& cfop, const QString& cst)
{
    return {
        {"nenhum filtro", base},
        {"entradas", But(base, [](Screen& s) { s.direction = 0; })},
        {"saídas", But(base, [](Screen& s) { s.direction = 1; })},
        {"um CFOP", But(base, [&](Screen& s) { s.cfop = cfop; })},
        {"um CST", But(base, [&](Screen& s) { s.cst = cst; })},
        {"modelos 57 e 65", But(base,
                                [](Screen& s) {
                                    s.models = {u"57"_s, u"65"_s};
                                })},
        {"tipos E/CO e S/BN", But(base,
                                  [](Screen& s) {
                                      s.types = {u"ECO"_s, u"SBN"_s};
                                  })},
        {"saídas do modelo 55, tipo S/VD", But(base,
                                               [](Screen& s) {
                                                   s.direction = 1;
                                                   s.models = {u"55"_s};
                                                   s.types = {u"SVD"_s};
                                               })},
        {"um CFOP sem notas", But(base, [](Screen& s) { s.cfop = u"7102"_s; }), true},
    };
}

const QStringList BookReportParameters = {u"P_CDLIVROMAG"_s,   u"P_EMPRESA"_s,      u"P_DTINICIO"_s,
                                          u"P_DTFINAL"_s,      u"P_IDENTRSAIDOP"_s, u"P_CDFISCOPERIT"_s,
                                          u"P_CDSITUTRIBIT"_s, u"P_CDMODDOCFISC"_s, u"P_TCDMODDOCFISC"_s,
                                          u"P_CDTIPOOPER"_s,   u"P_TCDTIPOOPER"_s};

QList<Report> Reports()
{
    const Screen pending{u"01"_s, u"01"_s, u"123456785119"_s, {2025, 1, 1}, {2025, 6, 30}};
    const Screen gia{u"01"_s, u"01"_s, u"123456785119"_s, {2025, 3, 1}, {2025, 3, 31}};
    const Screen giaRs{u"01"_s, u"02"_s, u"0961234563"_s, {2025, 1, 1}, {2025, 3, 31}};
    const Screen may{u"0000000010"_s, u"01"_s, {}, {2025, 5, 1}, {2025, 5, 31}};
    const Screen year{u"0000000010"_s, u"01"_s, {}, {2025, 1, 1}, {2025, 12, 31}};
    const QStringList giaSums = {u"VRCONTABILNF"_s, u"VRBASECALCNF"_s, u"VRIMPOSTONF"_s, u"VRISENTO"_s,
                                 u"VROUTROS"_s,     u"VRIMPST"_s,      u"VRIMPIPI"_s};
    QStringList giaRsSums;
    for (const QString& kind : {u"CONTABIL"_s, u"BASECALC"_s, u"IMPOSTO"_s, u"ISENTO"_s, u"OUTROS"_s})
        giaRsSums << u"VR"_s + kind + u"LV"_s << u"VR"_s + kind + u"NF"_s << u"VR"_s + kind + u"DIF"_s;
    const QStringList lineSums = {u"VRTOTALITEM"_s, u"VRDESCONTOIT"_s, u"VRBASECALC"_s, u"VRIMPOSTO"_s};
    QStringList giaSpParameters = BookReportParameters;
    giaSpParameters.replace(0, u"P_CDIMPOSTO"_s);
    giaSpParameters.removeOne(u"P_CDSITUTRIBIT"_s);
    giaSpParameters.append(u"P_CDINSCESTA"_s);
    QStringList pendingParameters = giaSpParameters;
    pendingParameters << u"P_CDSITUTRIBIT"_s << u"P_CDINSCMUNI"_s;

    return {
        {u"Nota Fiscal Pendente"_s,
         pendingParameters,
         Pending,
         {{u"DSOPERACAO"_s, {u"VRCONTABIL"_s}}, {u"CDFISCOPERIT"_s, {u"VRCONTABIL"_s}}},
         EachFilter(pending, u"5405"_s, u"060"_s) +
             QList<Case>{
                 {"ISS da inscrição municipal", {u"06"_s, u"03"_s, u"00458721"_s, {2025, 1, 1}, {2025, 12, 31}}}}},
        {u"Listagem de Documentos - GIA SP"_s,
         giaSpParameters,
         GiaSp,
         {{u"IDENTRSAIDOP"_s, giaSums}, {u"CDFISCOPERNF"_s, giaSums}},
         EachFilter(gia, u"1102"_s, u"060"_s) +
             QList<Case>{{"a outra inscrição", But(gia, [](Screen& s) { s.registration = u"900012345112"_s; })}}},
        {u"Apuração de Impostos"_s,
         {u"P_EMPRESA"_s, u"P_DTINICIO"_s, u"P_DTFINAL"_s},
         Apportionment,
         {{u"DSAPURACAO"_s,
           {u"VRDEBITOSAIDAS"_s, u"VROUTROSDEBITOS"_s, u"VRESTORNOCREDITOS"_s, u"VRCREDITOENTRADAS"_s,
            u"VROUTROSCREDITOS"_s, u"VRESTORNODEBITOS"_s, u"VRDEDUCOES"_s, u"VRIMPOSTORECOLHER"_s}}},
         {{"um mês com ajustes", {{}, u"02"_s, {}, {2025, 10, 1}, {2025, 10, 31}}},
          {"um trimestre", {{}, u"01"_s, {}, {2025, 4, 1}, {2025, 6, 30}}},
          {"a empresa de serviços", {{}, u"03"_s, {}, {2026, 11, 1}, {2026, 12, 31}}},
          {"um ano sem mapas", {{}, u"01"_s, {}, {2027, 1, 1}, {2027, 12, 31}}, true}}},
        {u"Conferência GIA RS"_s,
         {u"P_CDIMPOSTO"_s, u"P_EMPRESA"_s, u"P_CDINSCESTA"_s, u"P_DTINICIO"_s, u"P_DTFINAL"_s},
         GiaRs,
         {{u"DSOPERACAO"_s, giaRsSums}},
         {{"um trimestre", giaRs},
          {"julho", But(giaRs,
                        [](Screen& s) {
                            s.start = {2025, 7, 1};
                            s.end = {2025, 7, 31};
                        })},
          {"a inscrição sem movimento", But(giaRs, [](Screen& s) { s.registration = u"0430001231"_s; }), true}}},
        {u"Operações por CST - SPED Contribuições"_s,
         BookReportParameters,
         ByCst,
         {{u"DSIMPOSTO"_s, lineSums}, {u"CDSITUTRIB"_s, lineSums}},
         EachFilter(may, u"5102"_s, u"01"_s)},
        {u"Consolidação das Operações por CST - SPED Contribuições"_s,
         {u"P_CDLIVROMAG"_s, u"P_EMPRESA"_s, u"P_DTINICIO"_s, u"P_DTFINAL"_s, u"P_IDENTRSAIDOP"_s, u"P_CDSITUTRIBIT"_s},
         Consolidation,
         {{u"DSIMPOSTO"_s,
           {u"VRCONTABILNF"_s, u"VRBASECALCNF"_s, u"VRIMPOSTONF"_s, u"VRCONTABILLV"_s, u"VRBASECALCLV"_s,
            u"VRIMPOSTOLV"_s, u"VRCONTABILDIF"_s, u"VRBASECALCDIF"_s, u"VRIMPOSTODIF"_s}}},
         {{"nenhum filtro", may},
          {"entradas", But(may, [](Screen& s) { s.direction = 0; })},
          {"saídas", But(may, [](Screen& s) { s.direction = 1; })},
          {"um CST", But(may, [](Screen& s) { s.cst = u"01"_s; })},
          {"CFOP, modelos e tipos, que o livro não tem, não se aplicam", But(may,
                                                                             [](Screen& s) {
                                                                                 s.cfop = u"5102"_s;
                                                                                 s.models = {u"65"_s};
                                                                                 s.types = {u"SVD"_s};
                                                                             })},
          {"saídas de um CST", But(may,
                                   [](Screen& s) {
                                       s.direction = 1;
                                       s.cst = u"01"_s;
                                   })},
          {"um CST sem linhas", But(may, [](Screen& s) { s.cst = u"99"_s; }), true}}},
        {u"Operações por CFOP - SPED Contribuições"_s,
         BookReportParameters,
         ByCfop,
         {{u"DSIMPOSTO"_s, {u"QTITENS"_s, u"VRTOTALITEM"_s, u"VRDESCONTOIT"_s, u"VRBASECALC"_s, u"VRIMPOSTO"_s}},
          {u"CDFISCOPERIT"_s, {u"QTITENS"_s, u"VRTOTALITEM"_s, u"VRDESCONTOIT"_s, u"VRBASECALC"_s, u"VRIMPOSTO"_s}}},
         EachFilter(may, u"5102"_s, u"50"_s)},
        {u"Divergência BC - SPED Contribuições"_s,
         BookReportParameters,
         Divergences,
         {{u"DSREGRA"_s, {}}, {u"SGIMPOSTO"_s, {u"VRESPERADO"_s, u"VRDECLARADO"_s, u"VRDIFERENCA"_s}}},
         EachFilter(year, u"5102"_s, u"01"_s)},
        {u"Pré-validação PIS/COFINS"_s,
         BookReportParameters,
         BrokenRules,
         {{u"DSREGRA"_s, {}}, {u"SGIMPOSTO"_s, {u"VRIMPOSTO"_s}}},
         EachFilter(year, u"5102"_s, u"02"_s)},
    };
}

class ReportsOnSampleDataTest : public LookupTest {
protected:
    // The report of that title run by the screen's report dialog on the values of s, as an output button runs it.
    std::shared_ptr<const ReportLayout> run(const QString& title, const Screen& s)
    {
        auto* reports = child<TComboBox>(u"cbbReportNames"_s);
        reports->setItemIndex(reports->findText(title));
        EXPECT_GE(reports->itemIndex(), 0) << qPrintable(title);
        frmConFisc->cbbReportNamesChange(reports);
        (frmConFisc->nbkImposto->pageIndex() == TfrmConFisc::TaxPage ? frmConFisc->medImposto : frmConFisc->medLivro)
            ->setText(s.taxOrBook);
        frmConFisc->medEmpresa->setText(s.company);
        frmConFisc->edtInscricao->setText(s.registration);
        frmConFisc->cbbEntrSaid->setItemIndex(s.direction);
        frmConFisc->depInicial->SetDate(s.start);
        frmConFisc->depFinal->SetDate(s.end);
        frmConFisc->medCfop->setText(s.cfop);
        frmConFisc->medCst->setText(s.cst);
        stListaMod = s.models.join(u',');
        stListaTp = s.types.join(u',');
        for (const QString& file : DefinitionFiles(HostSettings::current().reportsDir + u"/RLX582"_s))
            if (const ReportDefinition definition = ReportDefinition::fromFile(file); definition.title == title)
                return child<TReportDesignerDialog>(u"rpddPadrao"_s)->Run(definition);
        ADD_FAILURE() << "no definition titled " << qPrintable(title);
        return {};
    }
};

} // namespace

TEST_F(ReportsOnSampleDataTest, EveryReportAgreesWithTheAnalystsSqlRowByRowAndToTheCent)
{
    startOnSampleData();
    for (const Report& report : Reports()) {
        for (const Case& c : report.cases) {
            SCOPED_TRACE(qPrintable(report.title + u" / "_s + QString::fromUtf8(c.name)));
            const std::shared_ptr<const ReportLayout> layout = run(report.title, c.screen);
            ASSERT_TRUE(layout);
            const ReportData& data = layout->data();
            QStringList declared;
            for (const ReportParameter& parameter : data.parameters)
                declared.append(parameter.name);
            declared.sort();
            QStringList applies = report.applies;
            applies.sort();
            EXPECT_EQ(declared, applies) << "a report declares exactly the screen's values it applies";

            const Table expected = Expected(report.expectedSql(c.screen), c.screen);
            EXPECT_EQ(expected.rows.isEmpty(), c.findsNothing);
            QList<int> columns;
            for (int i = 0; i < expected.fields.count(); ++i) {
                columns.append(data.detail.fieldIndex(expected.fields.fieldName(i)));
                ASSERT_GE(columns.last(), 0) << qPrintable(expected.fields.fieldName(i));
            }
            EXPECT_EQ(Texts(expected.fields, data.detail.rows, [&](int i) { return columns[i]; }),
                      Texts(expected.fields, expected.rows, [](int i) { return i; }));
            EXPECT_EQ(PrintedSums(*layout), Subtotals(expected.fields, expected.rows, report.levels));
        }
    }
    EXPECT_TRUE(errors().isEmpty()) << qPrintable(errors().join(u'\n'));
}

// A listing of booked documents only: its ICMS of entries and of exits are the credits and the debits of the map.
TEST_F(ReportsOnSampleDataTest, TheGiaSpListingAddsUpToItsMonthsMap)
{
    startOnSampleData();
    const auto layout =
        run(u"Listagem de Documentos - GIA SP"_s, {u"01"_s, u"01"_s, u"123456785119"_s, {2025, 3, 1}, {2025, 3, 31}});
    const ReportTable& documents = layout->data().detail;
    qint64 entries = 0, exits = 0;
    for (const QVariantList& row : documents.rows)
        (row[documents.fieldIndex(u"IDENTRSAIDOP"_s)] == u"E"_s ? entries : exits) +=
            Cents(row[documents.fieldIndex(u"VRIMPOSTONF"_s)]);
    QSqlQuery map(dtmDBGeral()->adcGeral->Database());
    ASSERT_TRUE(map.exec(u"SELECT VRCREDITOENTRADAS, VRDEBITOSAIDAS FROM MAPAAPUR WHERE CDEMPRESA = '01'"
                         " AND CDINSCRICAO = '123456785119' AND CDIMPOSTO = '01' AND DTINIPERIODO = '2025-03-01'"_s) &&
                map.next());
    EXPECT_EQ(entries, Cents(map.value(0)));
    EXPECT_EQ(exits, Cents(map.value(1)));
}

// A report that compares with books or maps takes whole periods of them, or none: never a month on one side and part
// of it on the other. It says what to type instead.
TEST_F(ReportsOnSampleDataTest, APeriodThatCutsWhatAReportComparesIsRefusedSayingWhatToType)
{
    const QString type = u" Informe um período que os cubra inteiros, por exemplo de %1."_s;
    const struct {
        QString title;
        Screen screen;
        QString message;
    } cases[] = {
        {u"Listagem de Documentos - GIA SP"_s,
         {u"01"_s, u"01"_s, u"123456785119"_s, {2025, 3, 10}, {2025, 3, 31}},
         u"O período informado corta mapas de apuração do imposto nesta inscrição, e a GIA declara mapas inteiros."_s +
             type.arg(u"01/03/2025 a 31/03/2025"_s)},
        {u"Apuração de Impostos"_s,
         {{}, u"02"_s, {}, {2025, 10, 1}, {2025, 11, 15}},
         u"O período informado corta mapas de apuração da empresa, que o relatório mostra inteiros."_s +
             type.arg(u"01/10/2025 a 30/11/2025"_s)},
        {u"Conferência GIA RS"_s,
         {u"01"_s, u"02"_s, u"0961234563"_s, {2025, 3, 1}, {2025, 3, 15}},
         u"O período informado corta períodos dos livros ou dos mapas de apuração do imposto nesta inscrição, que só"
         " se comparam inteiros com as notas."_s +
             type.arg(u"01/03/2025 a 31/03/2025"_s)},
        {u"Consolidação das Operações por CST - SPED Contribuições"_s,
         {u"0000000010"_s, u"01"_s, {}, {2025, 4, 16}, {2025, 5, 31}},
         u"O período informado corta períodos do livro ou dos mapas de apuração de PIS e COFINS, que só se comparam"
         " inteiros com as notas."_s +
             type.arg(u"01/04/2025 a 31/05/2025"_s)},
        {u"Operações por CST - SPED Contribuições"_s,
         {u"0000000001"_s, u"01"_s, u"123456785119"_s, {2025, 5, 1}, {2025, 5, 31}},
         u"O livro 0000000001 - Registro de Entradas não é de PIS/COFINS, e este relatório lê as linhas de PIS e"
         " COFINS dos itens. Escolha um livro de apuração de PIS/COFINS."_s},
    };
    startOnSampleData();
    for (const auto& c : cases) {
        SCOPED_TRACE(qPrintable(c.title));
        QString message;
        try {
            run(c.title, c.screen);
        } catch (const EReportRefused& refused) {
            message = refused.message();
        }
        EXPECT_EQ(message, c.message);
    }
}
