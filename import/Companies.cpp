#include "Companies.h"

#include "DatabaseError.h"
#include "PacketQuery.h"
#include "ScopedConnection.h"

using namespace Qt::StringLiterals;

using fiscal::execOrThrow;

namespace fiscalimport {

Companies::Companies(database::ScopedConnection& connection) : m_connection(connection) {}

std::optional<Company> Companies::find(const QString& cnpj)
{
    QSqlQuery& query =
        m_connection.prepared(u"SELECT CDEMPRESA, SGUF FROM EMPRESA WHERE NRCNPJ = ? ORDER BY CDEMPRESA"_s, {cnpj});
    execOrThrow(query);
    if (!query.next())
        return std::nullopt;
    return Company{query.value(0).toString(), cnpj, query.value(1).toString()};
}

Company Companies::findOrCreate(const QString& cnpj, const QString& name, const QString& uf)
{
    if (std::optional<Company> company = find(cnpj))
        return *company;
    QSqlQuery& codes = m_connection.prepared(u"SELECT CDEMPRESA FROM EMPRESA"_s, {});
    execOrThrow(codes);
    int highest = 0;
    while (codes.next())
        highest = std::max(highest, codes.value(0).toString().toInt());
    if (highest >= 99)
        throw database::DatabaseError(
            u"Não há código livre para cadastrar a empresa de CNPJ %1: os códigos vão de 01 a 99."_s.arg(cnpj));
    const Company company{u"%1"_s.arg(highest + 1, 2, 10, QChar(u'0')), cnpj, uf};
    execOrThrow(m_connection.prepared(u"INSERT INTO EMPRESA (CDEMPRESA, NMEMPRESA, NRCNPJ, SGUF) VALUES (?, ?, ?, ?)"_s,
                                      {company.code, name.left(40), cnpj, uf}));
    return company;
}

void Companies::addRegistration(const Company& company, const QString& registration, const QString& uf)
{
    execOrThrow(
        m_connection.prepared(u"INSERT INTO INSCRESTAD (CDEMPRESA, CDINSCESTA, SGUF) SELECT ?, ?, ? WHERE NOT EXISTS "
                              "(SELECT 1 FROM INSCRESTAD WHERE CDEMPRESA = ? AND CDINSCESTA = ?)"_s,
                              {company.code, registration, uf, company.code, registration}));
}

QString Companies::firstRegistration(const Company& company)
{
    QSqlQuery& query = m_connection.prepared(
        u"SELECT CDINSCESTA FROM INSCRESTAD WHERE CDEMPRESA = ? ORDER BY CDINSCESTA"_s, {company.code});
    execOrThrow(query);
    return query.next() ? query.value(0).toString() : QString();
}

} // namespace fiscalimport
