#pragma once

#include <QHash>
#include <QString>

namespace database {
class ScopedConnection;
}
namespace fiscalimport {

// The operation type (TIPOOPERAC) an invoice takes from its CFOP, by the table CFOPTIPOOPER.
class OperationTypes {
public:
    // Reads the table. Throws database::DatabaseError.
    explicit OperationTypes(database::ScopedConnection& connection);

    // The type of cfop; "OU", another operation of its direction, when the table does not hold it.
    QString typeOf(const QString& cfop) const;

private:
    QHash<QString, QString> m_types;
};

// The CFOP of the same operation seen from the other side: 5.102 (the supplier's sale) is 1.102 (a purchase),
// 1.202 (a return received) is 5.202; the first digit 5, 6, 7 turns into 1, 2, 3 and back.
QString mirroredCfop(const QString& cfop);

} // namespace fiscalimport
