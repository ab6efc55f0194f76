#pragma once

#include "hostfw_core_export.h"

#include <QObject>
#include <QStringList>

// A message table: one line per message, "key|text". Keys are case-sensitive.
class HOSTFW_CORE_EXPORT TMessages : public QObject {
    Q_OBJECT
public:
    explicit TMessages(QObject* parent = nullptr, const QString& name = {});

    // Replaces every line. A line without "|" is a key with an empty text.
    void setLines(const QStringList& lines);
    const QStringList& Lines() const { return m_lines; }

    // The text of the first line whose key is exactly `key` (the text may itself contain "|").
    // An unknown key is a programming fault: EHostConfigError naming the key and the table.
    QString Msg(const QString& key) const;

private:
    QStringList m_lines;
};
