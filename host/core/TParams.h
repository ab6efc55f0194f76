#pragma once

#include "hostfw_core_export.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

// A query parameter. Every parameter is a text parameter: a value given to it is kept as its text.
// A parameter that was never given a value, or was cleared, is null and binds SQL NULL.
class HOSTFW_CORE_EXPORT TParam {
public:
    explicit TParam(QString name) : m_name(std::move(name)) {}

    const QString& Name() const { return m_name; }

    void SetAsString(const QString& text);
    // A null variant clears the parameter; anything else is kept as its text.
    void SetAsVariant(const QVariant& value);
    void setValue(const QVariant& value) { SetAsVariant(value); }
    void Clear();

    // A QString variant, null when the parameter is null.
    QVariant Value() const;
    QString AsString() const { return m_text; }
    bool IsNull() const { return m_null; }

private:
    QString m_name;
    QString m_text;
    bool m_null = true;
};

// The parameters of a query, in the order of their first appearance in its SQL. Names are case-insensitive.
class HOSTFW_CORE_EXPORT TParams {
public:
    TParams() = default;
    TParams(const TParams&) = delete;
    TParams& operator=(const TParams&) = delete;

    // nullptr when absent.
    TParam* FindParam(const QString& name) const;
    // EDatabaseError naming the parameter when absent.
    TParam* ParamByName(const QString& name) const;

    int Count() const { return static_cast<int>(m_params.size()); }
    TParam* Items(int index) const { return m_params.at(index).get(); }
    QStringList Names() const;

    // Makes the list hold exactly these names, in this order; parameters already present keep their values.
    void SetNames(const QStringList& names);

private:
    std::vector<std::unique_ptr<TParam>> m_params;
};
