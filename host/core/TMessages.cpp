#include "TMessages.h"

#include "Exceptions.h"

using namespace Qt::StringLiterals;

TMessages::TMessages(QObject* parent, const QString& name) : QObject(parent) { setObjectName(name); }

void TMessages::setLines(const QStringList& lines) { m_lines = lines; }

QString TMessages::Msg(const QString& key) const
{
    for (const QString& line : m_lines) {
        const qsizetype bar = line.indexOf(u'|');
        if ((bar < 0 ? line : line.left(bar)) == key)
            return bar < 0 ? QString() : line.mid(bar + 1);
    }
    throw EHostConfigError(u"Mensagem '%1' não encontrada em %2."_s.arg(key, objectName()));
}
