#include "Dialect.h"

using namespace Qt::StringLiterals;

namespace database::dialect {

QString brazilianDate(Engine engine, const QString& column)
{
    return engine == Engine::PostgreSQL ? u"to_char(%1, 'DD/MM/YYYY')"_s.arg(column)
                                        : u"strftime('%d/%m/%Y', %1)"_s.arg(column);
}

QString unindexed(Engine engine, const QString& column) { return engine == Engine::SQLite ? u"+"_s + column : column; }

QString jsonTexts(Engine engine)
{
    return engine == Engine::PostgreSQL ? u"json_array_elements_text(CAST(? AS json))"_s : u"json_each(?)"_s;
}

QString forDriver(const QString& driverName, const QStringList& sql, const QStringList& oracle,
                  const QStringList& mssql)
{
    const QStringList* text = &sql;
    if (driverName == u"QOCI")
        text = &oracle;
    else if (driverName == u"QODBC" || driverName == u"QTDS")
        text = &mssql;
    return (text->isEmpty() ? sql : *text).join(u'\n');
}

} // namespace database::dialect
