#pragma once

#include "hostfw_core_export.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

// A query parameter: a text or a date. A parameter that was never given a value, or was cleared, is null and binds
// SQL NULL.
class HOSTFW_CORE_EXPORT TParam {
public:
    explicit TParam(QString name) : m_name(std::move(name)) {}

    const QString& Name() const { return m_name; }

    // A text, never null: the empty text stays the empty text.
    void SetAsString(const QString& text);
    // A null variant, or an invalid date, clears the parameter; a QDate is kept as a date, a QDateTime as its
    // date; anything else as its text.
    void SetAsVariant(const QVariant& value);
    void setValue(const QVariant& value) { SetAsVariant(value); }
    void Clear();

    // A QString or QDate variant; a null QString variant when the parameter is null.
    QVariant Value() const;
    // The text; a date as "yyyy-MM-dd"; "" when null.
    QString AsString() const;
    bool IsNull() const { return m_value.isNull(); }

private:
    QString m_name;
    QVariant m_value;
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
