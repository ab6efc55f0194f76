#include "AuditTrail.h"

#include "PacketQuery.h"
#include "ScopedConnection.h"

using namespace Qt::StringLiterals;

namespace admin {

QList<database::AuditRecord> auditSince(database::ScopedConnection& connection, const QDate& since)
{
    QSqlQuery& query = connection.prepared(
        u"SELECT to_char(DTREGISTRO, 'DD/MM/YYYY HH24:MI:SS'), NMPAPEL, DSORIGEM, DSACAO, DSPARAMETROS, QTLINHAS, "
        "DSRESULTADO FROM AUDITORIA WHERE DTREGISTRO >= CAST(? AS DATE) ORDER BY NRAUDITORIA"_s,
        {since.toString(Qt::ISODate)});
    fiscal::execOrThrow(query);
    QList<database::AuditRecord> records;
    while (query.next()) {
        database::AuditRecord record;
        record.when = QDateTime::fromString(query.value(0).toString(), u"dd/MM/yyyy HH:mm:ss"_s);
        record.role = query.value(1).toString();
        record.origin = query.value(2).toString();
        record.action = query.value(3).toString();
        record.parameters = query.value(4).toString();
        if (!query.value(5).isNull())
            record.rows = query.value(5).toInt();
        record.outcome = query.value(6).toString();
        records.append(record);
    }
    query.finish();
    return records;
}

QString auditLine(const database::AuditRecord& record)
{
    return QStringList{record.when.toString(u"dd/MM/yyyy HH:mm:ss"_s),
                       record.role,
                       record.origin,
                       record.action,
                       record.parameters,
                       record.rows ? QString::number(*record.rows) : QString(),
                       record.outcome}
        .join(u'\t');
}

} // namespace admin
