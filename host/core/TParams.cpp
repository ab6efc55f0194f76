#include "TParams.h"

#include "Exceptions.h"

void TParam::SetAsString(const QString& text)
{
    m_text = text;
    m_null = false;
}

void TParam::SetAsVariant(const QVariant& value)
{
    if (value.isNull())
        Clear();
    else
        SetAsString(value.toString());
}

void TParam::Clear()
{
    m_text.clear();
    m_null = true;
}

QVariant TParam::Value() const { return m_null ? QVariant(QMetaType::fromType<QString>()) : QVariant(m_text); }

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
    throw EDatabaseError(QStringLiteral("Parâmetro '%1' não encontrado.").arg(name));
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
