#include "Audit.h"

#include "DatabaseError.h"
#include "DatabaseFailure.h"

#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace database {

namespace {

void exec(QSqlQuery& query, const QString& statement)
{
    if (!query.exec(statement))
        throw DatabaseError(u"A auditoria não pôde ser registrada: %1"_s.arg(failureText(query.lastError())));
}

// A text binds as NULL when it is a null QString: an empty one is empty.
QString text(const QString& value) { return value.isNull() ? u""_s : value; }

} // namespace

void addAuditRecord(QSqlDatabase& database, const AuditRecord& record)
{
    if (database.driverName() != u"QPSQL")
        return;
    QSqlQuery query(database);
    exec(query, u"START TRANSACTION READ WRITE"_s);
    try {
        query.prepare(u"INSERT INTO AUDITORIA (DSORIGEM, DSACAO, DSPARAMETROS, QTLINHAS, DSRESULTADO) "
                      "VALUES (?, ?, ?, ?, ?)"_s);
        query.addBindValue(text(record.origin.left(100)));
        query.addBindValue(text(record.action.left(200)));
        query.addBindValue(text(record.parameters));
        query.addBindValue(record.rows ? QVariant(*record.rows) : QVariant(QMetaType::fromType<int>()));
        query.addBindValue(text(record.outcome.left(500)));
        if (!query.exec())
            throw DatabaseError(u"A auditoria não pôde ser registrada: %1"_s.arg(failureText(query.lastError())));
        exec(query, u"COMMIT"_s);
    } catch (const DatabaseError&) {
        QSqlQuery(database).exec(u"ROLLBACK"_s);
        throw;
    }
}

} // namespace database
