#include "GiaBenchData.h"

#include <QDate>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace bench {

namespace {

const QString registration = u"123456785119"_s;

} // namespace

QStringList generatedInvoices()
{
    return {u"INSERT INTO IMPOSTONFE VALUES ('01', 'ICMS', 'ICMS próprio', 'E'), ('02', 'ICMSST', 'ICMS ST', "
            u"'E'), "
            "('03', 'IPI', 'IPI', 'F')"_s,
            uR"(WITH RECURSIVE N (I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < %1)
                INSERT INTO NOTAFISCAL (NRSEQNOTAFISC, CDEMPRESA, CDINSCRICAO, IDENTRSAIDOP, CDTIPOOPER, CDMODDOCFISC,
                                        NRSERIE, NRNOTAFISC, DTEMISSAO, DTENTRSAID, DTESCRITURACAO, NMPARTICIPANTE,
                                        NRCNPJPARTIC, SGUFPARTIC)
                SELECT I, '01', '%2', CASE WHEN I % 2 = 0 THEN 'S' ELSE 'E' END,
                       CASE WHEN I % 2 = 0 THEN 'VD' ELSE 'CO' END, '55', '1', printf('%09d', I),
                       date('2025-01-01', '+' || (I % 365) || ' days'), date('2025-01-01', '+' || (I % 365) || ' days'),
                       date('2025-01-01', '+' || (I % 365) || ' days'), 'Participante', '11222333000181', 'SP'
                  FROM N)"_s.arg(documents)
                .arg(registration),
            u"INSERT INTO ITEMNOTAFISCAL SELECT NRSEQNOTAFISC, 1, 'Produto', "
            "CASE IDENTRSAIDOP WHEN 'S' THEN '5102' ELSE '1102' END, 1, 100 + NRSEQNOTAFISC % 900, "
            "100 + NRSEQNOTAFISC % 900, 0, 100 + NRSEQNOTAFISC % 900 FROM NOTAFISCAL"_s,
            u"INSERT INTO ITEMNFIMPOSTO SELECT NRSEQNOTAFISC, 1, '01', '000', VRTOTALITEM, 18, "
            "round(VRTOTALITEM * 0.18, 2), 0, 0 FROM ITEMNOTAFISCAL"_s,
            u"INSERT INTO ITEMNFIMPOSTO SELECT NRSEQNOTAFISC, 1, '03', '50', VRTOTALITEM, 10, "
            "round(VRTOTALITEM * 0.1, 2), 0, 0 FROM ITEMNOTAFISCAL WHERE NRSEQNOTAFISC % 3 = 0"_s};
}

QVariantList giaArguments()
{
    return {u"01"_s, registration, QDate(2025, 1, 1), QDate(2025, 12, 31), u"01"_s, u"2"_s, u""_s, u""_s, u""_s};
}

QList<QVariantList> readAll(QSqlQuery& query)
{
    query.exec();
    QList<QVariantList> rows;
    const int columns = query.record().count();
    while (query.next()) {
        QVariantList row;
        row.reserve(columns);
        for (int i = 0; i < columns; ++i)
            row.append(query.value(i));
        rows.append(std::move(row));
    }
    query.finish();
    return rows;
}

} // namespace bench
