#include "ServerDialect.h"

using namespace Qt::StringLiterals;

namespace fiscal::dialect {

QString brazilianDate(database::Engine engine, const QString& column)
{
    return engine == database::Engine::PostgreSQL ? u"to_char(%1, 'DD/MM/YYYY')"_s.arg(column)
                                                  : u"strftime('%d/%m/%Y', %1)"_s.arg(column);
}

QString jsonTexts(database::Engine engine)
{
    return engine == database::Engine::PostgreSQL ? u"json_array_elements_text(CAST(? AS json))"_s : u"json_each(?)"_s;
}

QString unindexed(database::Engine engine, const QString& column)
{
    return engine == database::Engine::SQLite ? u"+"_s + column : column;
}

} // namespace fiscal::dialect
