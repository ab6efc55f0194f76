#include "Strings.h"

#include "Exceptions.h"
#include "HostSettings.h"

using namespace Qt::StringLiterals;

bool EmptyString(const QString& text) { return text.trimmed().isEmpty(); }

QString Ajusta(const QString& code, int width)
{
    const QString trimmed = code.trimmed();
    if (trimmed.isEmpty())
        return trimmed;
    return trimmed.rightJustified(width, u'0');
}

QString Format(const QString& pattern, const QStringList& args)
{
    QString result;
    result.reserve(pattern.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == u'%' && i + 1 < pattern.size()) {
            const QChar conversion = pattern.at(i + 1);
            if (conversion == u'%') {
                result += u'%';
                ++i;
                continue;
            }
            if (conversion == u's' && next < args.size()) {
                result += args.at(next++);
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

QDate StrToDate(const QString& text) { return StrToDate(text, HostSettings::current().shortDateFormat); }

QDate StrToDate(const QString& text, const QString& format)
{
    const QDate date = QDate::fromString(text, format);
    if (!date.isValid())
        throw EConvertError(u"'%1' não é uma data válida."_s.arg(text));
    return date;
}
