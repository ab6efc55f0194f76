#include "Arguments.h"

#include "IsoDate.h"
#include "JsonRpc.h"

#include <QDate>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace fiscal {

namespace {

// A byte-order mark or a control character: invisible, it would make a code compare as another one.
bool isHidden(QChar c)
{
    return c.category() == QChar::Other_Control || c == QChar::ByteOrderMark || c == QChar::ByteOrderSwapped;
}

QVariant checkArgument(const QString& method, int position, ArgumentKind kind, const QJsonValue& value)
{
    auto fail = [&](const QString& what) {
        return protocol::RpcFailure(protocol::RpcErrorCode::InvalidParams,
                                    u"O argumento %1 de %2 %3."_s.arg(position).arg(method, what));
    };
    switch (kind) {
    case ArgumentKind::Text:
    case ArgumentKind::List: {
        if (!value.isString())
            throw fail(u"deve ser um texto"_s);
        const int limit = kind == ArgumentKind::Text ? maxTextLength : maxListLength;
        const QString text = value.toString();
        if (text.size() > limit)
            throw fail(u"passa de %1 caracteres"_s.arg(limit));
        if (const auto hidden = std::find_if(text.begin(), text.end(), isHidden); hidden != text.end())
            throw fail(u"traz uma marca de ordem de bytes ou um caractere de controle (U+%1)"_s.arg(
                QString::number(hidden->unicode(), 16).toUpper().rightJustified(4, u'0')));
        return text;
    }
    case ArgumentKind::Date: {
        if (value.isNull())
            return QDate();
        const QDate date = protocol::isoDate(value.toString());
        if (!value.isString() || !date.isValid())
            throw fail(u"deve ser uma data \"AAAA-MM-DD\" ou null"_s);
        return date;
    }
    }
    return {};
}

} // namespace

QVariantList checkArguments(const QString& method, const QList<ArgumentKind>& kinds, const QJsonArray& params)
{
    if (params.size() != kinds.size())
        throw protocol::RpcFailure(
            protocol::RpcErrorCode::InvalidParams,
            u"%1 recebe %2 argumentos, não %3."_s.arg(method).arg(kinds.size()).arg(params.size()));
    QVariantList arguments;
    arguments.reserve(kinds.size());
    for (int i = 0; i < kinds.size(); ++i)
        arguments.append(checkArgument(method, i + 1, kinds[i], params[i]));
    return arguments;
}

} // namespace fiscal
