#include "Dialect.h"

using namespace Qt::StringLiterals;

namespace database::dialect {

QString brazilianDate(Engine engine, const QString& column)
{
    return engine == Engine::PostgreSQL ? u"to_char(%1, 'DD/MM/YYYY')"_s.arg(column)
                                        : u"strftime('%d/%m/%Y', %1)"_s.arg(column);
}

QString jsonTexts(Engine engine)
{
    return engine == Engine::PostgreSQL ? u"json_array_elements_text(CAST(? AS json))"_s : u"json_each(?)"_s;
}

} // namespace database::dialect
