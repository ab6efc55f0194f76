#pragma once

#include <QString>
#include <stdexcept>

namespace fiscalimport {

// A file the import refuses: where in it (a line of an EFD, the path of an XML element, the entry of an archive) and
// why, in words the user can act on. Nothing of a refused file is kept.
class RefusedFile : public std::runtime_error {
public:
    RefusedFile(QString where, QString reason)
        : std::runtime_error(reason.toStdString()), m_where(std::move(where)), m_reason(std::move(reason))
    {}
    const QString& where() const { return m_where; }
    const QString& reason() const { return m_reason; }

private:
    QString m_where;
    QString m_reason;
};

// A file refused, as the import's summary names it.
struct RefusedInput {
    QString file;
    QString where;
    QString reason;
};

} // namespace fiscalimport
