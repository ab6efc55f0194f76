#include "Fixtures.h"

#include <QDate>

using namespace Qt::StringLiterals;

namespace fixture {

QString tax(const QString& code, const QString& abbreviation, const QString& indicator)
{
    return u"INSERT INTO IMPOSTONFE VALUES ('%1', '%2', 'Imposto %2', '%3')"_s.arg(code, abbreviation, indicator);
}

QString book(const QString& code, const QString& name, const QString& tax)
{
    return u"INSERT INTO LIVROMAG VALUES ('%1', '%2', '%3')"_s.arg(code, name, tax);
}

QString map(const QString& company, const QString& registration, const QString& tax, const QString& name,
            const QString& start, const QString& end)
{
    return u"INSERT INTO MAPAAPUR (CDEMPRESA, CDINSCRICAO, CDIMPOSTO, NMMAPAAPUR, "
           "DTINIPERIODO, DTFIMPERIODO)"
           " VALUES ('%1', '%2', '%3', '%4', '%5', '%6')"_s.arg(company, registration, tax, name, start, end);
}

QString invoice(const Invoice& i)
{
    const QString issued = QDate::fromString(i.date, Qt::ISODate).addDays(-1).toString(Qt::ISODate);
    return u"INSERT INTO NOTAFISCAL (NRSEQNOTAFISC, CDEMPRESA, CDINSCRICAO, IDENTRSAIDOP, CDTIPOOPER, "
           "CDMODDOCFISC, NRSERIE, NRNOTAFISC, DTEMISSAO, DTENTRSAID, DTESCRITURACAO, NMPARTICIPANTE, "
           "NRCNPJPARTIC, SGUFPARTIC, IDSITUACAO) VALUES (%1, '%2', '%3', '%4', '%5', '%6', '1', '%7', "
           "'%8', '%9', '%9', 'Participante', '11222333000181', 'SP', '%10')"_s
               .arg(QString::number(i.seq), i.company, i.registration, i.direction, i.type, i.model, i.number, issued,
                    i.date)
               .arg(i.status);
}

QString item(int seq, int item, const QString& cfop, double accountingValue)
{
    return u"INSERT INTO ITEMNOTAFISCAL VALUES (%1, %2, 'Produto', '%3', 1, %4, %4, 0, %4)"_s.arg(seq)
        .arg(item)
        .arg(cfop)
        .arg(accountingValue);
}

QString itemTax(int seq, int item, const QString& tax, double base, double value, double exempt, double other)
{
    return u"INSERT INTO ITEMNFIMPOSTO VALUES (%1, %2, '%3', '000', %4, 0, %5, %6, %7)"_s.arg(seq)
        .arg(item)
        .arg(tax)
        .arg(base)
        .arg(value)
        .arg(exempt)
        .arg(other);
}

} // namespace fixture
