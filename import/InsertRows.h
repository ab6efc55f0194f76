#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace database {
class ScopedConnection;
}
namespace fiscalimport {

// Inserts rows (values in the order of columns) into table, up to a hundred in one statement: a statement per row
// would make writing a document's items and taxes several times slower. Throws database::DatabaseError.
void insertRows(database::ScopedConnection& connection, const QString& table, const QStringList& columns,
                const QList<QVariantList>& rows);

} // namespace fiscalimport
