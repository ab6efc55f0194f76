#include "OperationTypes.h"

#include "PacketQuery.h"
#include "ScopedConnection.h"

using namespace Qt::StringLiterals;

namespace fiscalimport {

OperationTypes::OperationTypes(database::ScopedConnection& connection)
{
    QSqlQuery& query = connection.prepared(u"SELECT CDFISCOPER, CDTIPOOPER FROM CFOPTIPOOPER"_s, {});
    fiscal::execOrThrow(query);
    while (query.next())
        m_types.insert(query.value(0).toString(), query.value(1).toString());
}

QString OperationTypes::typeOf(const QString& cfop) const { return m_types.value(cfop, u"OU"_s); }

QString mirroredCfop(const QString& cfop)
{
    if (cfop.isEmpty())
        return cfop;
    const int first = cfop[0].digitValue();
    if (first >= 1 && first <= 3)
        return QString::number(first + 4) + cfop.mid(1);
    if (first >= 5 && first <= 7)
        return QString::number(first - 4) + cfop.mid(1);
    return cfop;
}

} // namespace fiscalimport
