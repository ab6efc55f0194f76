#include "GiaDocuments.h"

#include "CodeList.h"
#include "Dialect.h"
#include "JsonRpc.h"
#include "PacketQuery.h"
#include "ScopedConnection.h"

#include <QJsonArray>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

using protocol::FieldType;

namespace fiscal {

namespace {

QStringList directionsOf(const QString& direction)
{
    if (direction == u"0")
        return {u"E"_s};
    if (direction == u"1")
        return {u"S"_s};
    if (direction == u"2" || direction == u"-1")
        return {u"E"_s, u"S"_s};
    throw protocol::RpcFailure(protocol::RpcErrorCode::InvalidParams,
                               u"O argumento 6 de getDadosGia (entrada/saída) deve ser \"0\", \"1\", "
                               "\"2\" ou \"-1\", não \"%1\"."_s.arg(direction.left(20)));
}

QString jsonArray(const QStringList& codes)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(codes)).toJson(QJsonDocument::Compact));
}

} // namespace

GiaFilter GiaFilter::fromArguments(const QVariantList& arguments)
{
    GiaFilter filter;
    filter.company = arguments.at(0).toString();
    filter.registration = arguments.at(1).toString();
    filter.start = arguments.at(2).toDate();
    filter.end = arguments.at(3).toDate();
    filter.tax = arguments.at(4).toString();
    filter.directions = directionsOf(arguments.at(5).toString());
    filter.cfop = arguments.at(6).toString();
    filter.models = normalizedCodeList(arguments.at(7).toString());
    filter.types = normalizedCodeList(arguments.at(8).toString());
    return filter;
}

const QList<protocol::FieldDef>& giaDocumentFields()
{
    static const QList<protocol::FieldDef> fields = {
        {u"CDFISCOPERNF"_s, FieldType::String, 6}, {u"NRNOTAFISC"_s, FieldType::String, 20},
        {u"IDENTRSAIDOP"_s, FieldType::String, 1}, {u"DTEMISSAO"_s, FieldType::DateTime, 0},
        {u"DTENTRSAID"_s, FieldType::DateTime, 0}, {u"VRCONTABILNF"_s, FieldType::Float, 0},
        {u"VRBASECALCNF"_s, FieldType::Float, 0},  {u"VRIMPOSTONF"_s, FieldType::Float, 0},
        {u"VRISENTO"_s, FieldType::Float, 0},      {u"VROUTROS"_s, FieldType::Float, 0},
        {u"VRIMPST"_s, FieldType::Float, 0},       {u"VRIMPIPI"_s, FieldType::Float, 0},
    };
    return fields;
}

QSqlQuery& giaDocumentsQuery(database::ScopedConnection& connection, const GiaFilter& filter)
{
    // Each list is bound as one value, a JSON array: the statement stays the same whatever the lists hold, so the
    // connection keeps a few prepared statements, not one per list length. It varies with the one or two
    // directions and with the dates given, each compared with the column (COALESCE(?, column) would keep the
    // database off the period index, and a month would read every invoice of the tax); over more than a quarter,
    // reading the tax's items in the order they were written beats jumping between the invoices by date. The groups
    // are those of the order (the invoice decides all its columns), so that one sort makes both.
    const bool shortPeriod = filter.start.isValid() && filter.end.isValid() && filter.start.daysTo(filter.end) < 92;
    const QString date =
        shortPeriod ? u"N.DTENTRSAID"_s : database::dialect::unindexed(connection.engine(), u"N.DTENTRSAID"_s);
    const QString sql = uR"(
        SELECT I.CDFISCOPERIT, N.NRNOTAFISC, N.IDENTRSAIDOP, N.DTEMISSAO, N.DTENTRSAID,
               round(SUM(I.VRCONTABILIT), 2), round(SUM(T.VRBASECALCIT), 2), round(SUM(T.VRIMPOSTOIT), 2),
               round(SUM(T.VRISENTOIT), 2), round(SUM(T.VROUTROSIT), 2),
               round(SUM(COALESCE(ST.VRIMPOSTOIT, 0)), 2), round(SUM(COALESCE(IPI.VRIMPOSTOIT, 0)), 2)
          FROM NOTAFISCAL N
          JOIN ITEMNOTAFISCAL I ON I.NRSEQNOTAFISC = N.NRSEQNOTAFISC
          JOIN ITEMNFIMPOSTO T ON T.NRSEQNOTAFISC = I.NRSEQNOTAFISC AND T.NRITEM = I.NRITEM AND T.CDIMPOSTO = ?
          LEFT JOIN ITEMNFIMPOSTO ST ON ST.NRSEQNOTAFISC = I.NRSEQNOTAFISC AND ST.NRITEM = I.NRITEM
                AND ST.CDIMPOSTO = (SELECT CDIMPOSTONFE FROM IMPOSTONFE WHERE SGIMPOSTONFE = 'ICMSST')
          LEFT JOIN ITEMNFIMPOSTO IPI ON IPI.NRSEQNOTAFISC = I.NRSEQNOTAFISC AND IPI.NRITEM = I.NRITEM
                AND IPI.CDIMPOSTO = (SELECT CDIMPOSTONFE FROM IMPOSTONFE WHERE SGIMPOSTONFE = 'IPI')
         WHERE N.CDEMPRESA = ? AND N.CDINSCRICAO = ? AND N.IDSITUACAO = 'N' AND N.DTESCRITURACAO IS NOT NULL%1%2
           AND N.IDENTRSAIDOP IN (%3)
           AND (? = '' OR I.CDFISCOPERIT = ?)
           AND (? = '[]' OR N.CDMODDOCFISC IN (SELECT value FROM %4))
           AND (? = '[]' OR N.IDENTRSAIDOP || N.CDTIPOOPER IN (SELECT value FROM %4))
         GROUP BY N.IDENTRSAIDOP, I.CDFISCOPERIT, N.DTENTRSAID, N.NRNOTAFISC, N.NRSEQNOTAFISC
         ORDER BY N.IDENTRSAIDOP, I.CDFISCOPERIT, N.DTENTRSAID, N.NRNOTAFISC, N.NRSEQNOTAFISC)"_s.arg(
        filter.start.isValid() ? u"\n           AND %1 >= ?"_s.arg(date) : QString(),
        filter.end.isValid() ? u"\n           AND %1 <= ?"_s.arg(date) : QString(),
        filter.directions.size() == 1 ? u"?"_s : u"?, ?"_s, database::dialect::jsonTexts(connection.engine()));

    QVariantList values{filter.tax, filter.company, filter.registration};
    if (filter.start.isValid())
        values.append(sqlDate(filter.start));
    if (filter.end.isValid())
        values.append(sqlDate(filter.end));
    for (const QString& direction : filter.directions)
        values.append(direction);
    const QString models = jsonArray(filter.models);
    const QString types = jsonArray(filter.types);
    values << filter.cfop << filter.cfop << models << models << types << types;
    return connection.prepared(sql, values);
}

} // namespace fiscal
