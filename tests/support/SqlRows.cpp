#include "SqlRows.h"

#include "ScopedConnection.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

QString cell(const QVariant& value)
{
    static const QRegularExpression decimal(u"^-?\\d+\\.\\d+$"_s);
    const QString text = value.toString();
    if (value.typeId() == QMetaType::Double || decimal.match(text).hasMatch())
        return QString::number(value.toDouble(), 'f', 2);
    return text;
}

} // namespace

QStringList sqlRows(const QString& address, const QString& sql)
{
    database::ScopedConnection connection(database::DatabaseAddress::parse(address), database::Access::ReadOnly);
    QSqlQuery query(connection.database());
    if (!query.exec(sql))
        throw std::runtime_error((sql + u": "_s + query.lastError().text()).toStdString());
    QStringList rows;
    while (query.next()) {
        QStringList values;
        for (int i = 0; i < query.record().count(); ++i)
            values.append(cell(query.value(i)));
        rows.append(values.join(u'|'));
    }
    return rows;
}
