#include "TParams.h"

#include "Exceptions.h"

#include <QDate>

using namespace Qt::StringLiterals;

void TParam::SetAsString(const QString& text) { m_value = text.isNull() ? QString(u""_s) : text; }

void TParam::SetAsVariant(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QDate:
    case QMetaType::QDateTime: {
        const QDate date = value.toDate();
        if (date.isValid())
            m_value = date;
        else
            Clear();
        break;
    }
    default:
        if (value.isNull())
            Clear();
        else
            SetAsString(value.toString());
    }
}

void TParam::Clear() { m_value = QVariant(); }

QVariant TParam::Value() const { return m_value.isNull() ? QVariant(QMetaType::fromType<QString>()) : m_value; }

QString TParam::AsString() const
{
    return m_value.typeId() == QMetaType::QDate ? m_value.toDate().toString(Qt::ISODate) : m_value.toString();
}

TParam* TParams::FindParam(const QString& name) const
{
    for (const auto& param : m_params)
        if (param->Name().compare(name, Qt::CaseInsensitive) == 0)
            return param.get();
    return nullptr;
}

TParam* TParams::ParamByName(const QString& name) const
{
    if (TParam* param = FindParam(name))
        return param;
    throw EDatabaseError(u"Parâmetro '%1' não encontrado."_s.arg(name));
}

QStringList TParams::Names() const
{
    QStringList names;
    for (const auto& param : m_params)
        names.append(param->Name());
    return names;
}

void TParams::SetNames(const QStringList& names)
{
    std::vector<std::unique_ptr<TParam>> params;
    for (const QString& name : names) {
        auto kept = std::find_if(m_params.begin(), m_params.end(), [&](const auto& param) {
            return param && param->Name().compare(name, Qt::CaseInsensitive) == 0;
        });
        params.push_back(kept != m_params.end() ? std::move(*kept) : std::make_unique<TParam>(name));
    }
    m_params = std::move(params);
}
