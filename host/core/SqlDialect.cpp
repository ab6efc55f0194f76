#include "SqlDialect.h"

QString DialectText(const QString& driverName, const QStringList& sql, const QStringList& oracle,
                    const QStringList& mssql)
{
    const QStringList* text = &sql;
    if (driverName == u"QOCI")
        text = &oracle;
    else if (driverName == u"QODBC" || driverName == u"QTDS")
        text = &mssql;
    return (text->isEmpty() ? sql : *text).join(u'\n');
}
