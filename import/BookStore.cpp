#include "BookStore.h"

#include "InsertRows.h"
#include "PacketQuery.h"
#include "ScopedConnection.h"
#include "SqlValues.h"

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

using fiscal::execOrThrow;
using fiscal::sqlDate;

namespace fiscalimport {

struct BookStore::StoredMap {
    qint64 number = 0;
    bool closed = false;
    QDate end;
    MapTotals totals;
    QList<Adjustment> adjustments;
};

namespace {

const QString mapColumns = u"VRDEBITOSAIDAS, VROUTROSDEBITOS, VRESTORNOCREDITOS, VRCREDITOENTRADAS, VROUTROSCREDITOS, "
                           "VRESTORNODEBITOS, VRSALDOCREDORANT, VRDEDUCOES, VRIMPOSTORECOLHER, VRSALDOCREDORTRANSP"_s;

QVariantList valuesOf(const MapTotals& totals)
{
    QVariantList values;
    for (Cents value :
         {totals.debits, totals.otherDebits, totals.creditReversals, totals.credits, totals.otherCredits,
          totals.debitReversals, totals.previousBalance, totals.deductions, totals.payable, totals.carriedBalance})
        values.append(toCurrency(value));
    return values;
}

MapTotals totalsAt(const QSqlQuery& query, int first)
{
    const auto at = [&](int i) { return toCents(query.value(first + i).toDouble()); };
    return {at(0), at(1), at(2), at(3), at(4), at(5), at(6), at(7), at(8), at(9)};
}

bool before(const BookLine& a, const BookLine& b)
{
    return std::tie(a.book, a.tax, a.cfop, a.cst, a.rate) < std::tie(b.book, b.tax, b.cfop, b.cst, b.rate);
}

bool sameLine(const BookLine& a, const BookLine& b)
{
    return a.book == b.book && a.tax == b.tax && a.cfop == b.cfop && a.cst == b.cst &&
           qRound64(a.rate * 1e6) == qRound64(b.rate * 1e6) && a.accounting == b.accounting && a.base == b.base &&
           a.amount == b.amount && a.exempt == b.exempt && a.other == b.other;
}

QString placeholders(qsizetype count) { return QStringList(count, u"?"_s).join(u", "_s); }

} // namespace

BookStore::BookStore(database::ScopedConnection& connection) : m_connection(connection) {}

DeclarationOutcome BookStore::store(const PeriodDeclaration& declaration, bool replacing)
{
    QList<BookLine> lines = declaration.lines;
    std::sort(lines.begin(), lines.end(), before);
    const QList<BookLine> storedLines = linesOf(declaration);
    bool same = std::equal(lines.begin(), lines.end(), storedLines.begin(), storedLines.end(), sameLine);
    bool declaredBefore = !storedLines.isEmpty();
    QList<std::optional<StoredMap>> storedMaps;
    for (const TaxMap& map : declaration.maps) {
        std::optional<StoredMap> stored = mapOf(declaration.company, map);
        const bool sameMap = stored && stored->closed && stored->end == map.end && stored->totals == map.totals &&
                             stored->adjustments == map.adjustments;
        same = same && sameMap;
        declaredBefore = declaredBefore || (stored && stored->closed);
        storedMaps.append(std::move(stored));
    }
    if (same)
        return DeclarationOutcome::Unchanged;
    if (declaredBefore && !replacing)
        return DeclarationOutcome::Conflict;

    execOrThrow(m_connection.prepared(
        u"DELETE FROM TOTALLIVRO WHERE CDEMPRESA = ? AND CDINSCRICAO = ? AND DTINIPERIODO = ? AND CDLIVROMAG IN (%1)"_s
            .arg(placeholders(declaration.books.size())),
        QVariantList{declaration.company, notNull(declaration.registration), sqlDate(declaration.start)} +
            QVariantList(declaration.books.begin(), declaration.books.end())));
    static const QStringList columns = {u"CDLIVROMAG"_s,   u"CDEMPRESA"_s,    u"CDINSCRICAO"_s, u"CDIMPOSTO"_s,
                                        u"DTINIPERIODO"_s, u"DTFIMPERIODO"_s, u"CDFISCOPER"_s,  u"CDSITUTRIB"_s,
                                        u"VRALIQUOTA"_s,   u"VRCONTABIL"_s,   u"VRBASECALC"_s,  u"VRIMPOSTO"_s,
                                        u"VRISENTO"_s,     u"VROUTROS"_s};
    QList<QVariantList> rows;
    for (const BookLine& line : lines)
        rows.append({line.book, declaration.company, notNull(declaration.registration), line.tax,
                     sqlDate(declaration.start), sqlDate(declaration.end), notNull(line.cfop), notNull(line.cst),
                     line.rate, toCurrency(line.accounting), toCurrency(line.base), toCurrency(line.amount),
                     toCurrency(line.exempt), toCurrency(line.other)});
    insertRows(m_connection, u"TOTALLIVRO"_s, columns, rows);
    for (int i = 0; i < declaration.maps.size(); ++i)
        writeMap(declaration.company, declaration.maps[i], storedMaps[i]);
    return declaredBefore ? DeclarationOutcome::Replaced : DeclarationOutcome::New;
}

QList<BookLine> BookStore::linesOf(const PeriodDeclaration& declaration)
{
    QSqlQuery& query = m_connection.prepared(
        u"SELECT CDLIVROMAG, CDIMPOSTO, CDFISCOPER, CDSITUTRIB, VRALIQUOTA, VRCONTABIL, VRBASECALC, VRIMPOSTO, "
        "VRISENTO, VROUTROS FROM TOTALLIVRO "
        "WHERE CDEMPRESA = ? AND CDINSCRICAO = ? AND DTINIPERIODO = ? AND CDLIVROMAG IN (%1)"_s.arg(
            placeholders(declaration.books.size())),
        QVariantList{declaration.company, notNull(declaration.registration), sqlDate(declaration.start)} +
            QVariantList(declaration.books.begin(), declaration.books.end()));
    execOrThrow(query);
    QList<BookLine> lines;
    while (query.next())
        lines.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                      query.value(3).toString(), query.value(4).toDouble(), toCents(query.value(5).toDouble()),
                      toCents(query.value(6).toDouble()), toCents(query.value(7).toDouble()),
                      toCents(query.value(8).toDouble()), toCents(query.value(9).toDouble())});
    std::sort(lines.begin(), lines.end(), before);
    return lines;
}

std::optional<BookStore::StoredMap> BookStore::mapOf(const QString& company, const TaxMap& map)
{
    QSqlQuery& query = m_connection.prepared(
        u"SELECT NRMAPAAPUR, IDSITUACAO, DTFIMPERIODO, %1 FROM MAPAAPUR "
        "WHERE CDEMPRESA = ? AND CDINSCRICAO = ? AND CDIMPOSTO = ? AND DTINIPERIODO = ?"_s.arg(mapColumns),
        {company, notNull(map.registration), map.tax, sqlDate(map.start)});
    execOrThrow(query);
    if (!query.next())
        return std::nullopt;
    StoredMap stored{query.value(0).toLongLong(), query.value(1).toString() == u"F", query.value(2).toDate(),
                     totalsAt(query, 3)};
    QSqlQuery& adjustments = m_connection.prepared(
        u"SELECT CDAJUSTE, DSAJUSTE, IDTIPOAJUSTE, VRAJUSTE FROM AJUSTEAPUR WHERE NRMAPAAPUR = ? ORDER BY NRAJUSTE"_s,
        {stored.number});
    execOrThrow(adjustments);
    while (adjustments.next())
        stored.adjustments.append({adjustments.value(0).toString(), adjustments.value(1).toString(),
                                   adjustments.value(2).toString().at(0), toCents(adjustments.value(3).toDouble())});
    return stored;
}

void BookStore::writeMap(const QString& company, const TaxMap& map, const std::optional<StoredMap>& stored)
{
    qint64 number = 0;
    if (stored) {
        number = stored->number;
        execOrThrow(m_connection.prepared(
            u"UPDATE MAPAAPUR SET DTFIMPERIODO = ?, IDSITUACAO = 'F', %1 WHERE NRMAPAAPUR = ?"_s.arg(
                QString(mapColumns).replace(u", "_s, u" = ?, "_s) + u" = ?"_s),
            QVariantList{sqlDate(map.end)} + valuesOf(map.totals) + QVariantList{number}));
        execOrThrow(m_connection.prepared(u"DELETE FROM AJUSTEAPUR WHERE NRMAPAAPUR = ?"_s, {number}));
    } else {
        QSqlQuery& name =
            m_connection.prepared(u"SELECT SGIMPOSTONFE FROM IMPOSTONFE WHERE CDIMPOSTONFE = ?"_s, {map.tax});
        execOrThrow(name);
        const QString title =
            u"Apuração %1 %2"_s.arg(name.next() ? name.value(0).toString() : map.tax, map.start.toString(u"MM/yyyy"_s));
        QSqlQuery& insert = m_connection.prepared(
            u"INSERT INTO MAPAAPUR (CDEMPRESA, CDINSCRICAO, CDIMPOSTO, NMMAPAAPUR, DTINIPERIODO, DTFIMPERIODO, "
            "IDSITUACAO, %1) VALUES (?, ?, ?, ?, ?, ?, 'F', %2) RETURNING NRMAPAAPUR"_s.arg(mapColumns,
                                                                                            placeholders(10)),
            QVariantList{company, notNull(map.registration), map.tax, title, sqlDate(map.start), sqlDate(map.end)} +
                valuesOf(map.totals));
        execOrThrow(insert);
        insert.next();
        number = insert.value(0).toLongLong();
        insert.finish();
    }
    for (int i = 0; i < map.adjustments.size(); ++i) {
        const Adjustment& adjustment = map.adjustments[i];
        execOrThrow(m_connection.prepared(
            u"INSERT INTO AJUSTEAPUR (NRMAPAAPUR, NRAJUSTE, CDAJUSTE, DSAJUSTE, IDTIPOAJUSTE, VRAJUSTE) "
            "VALUES (?, ?, ?, ?, ?, ?)"_s,
            {number, i + 1, adjustment.code.left(10), notNull(adjustment.description.left(100)),
             QString(adjustment.type), toCurrency(adjustment.value)}));
    }
}

} // namespace fiscalimport
