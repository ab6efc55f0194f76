#include "FileKind.h"

#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace fiscalimport {

namespace {

FileKind xmlKind(QByteArrayView head)
{
    QXmlStreamReader reader(head.toByteArray());
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement) {
            const QStringView root = reader.name();
            if (root == u"nfeProc" || root == u"NFe")
                return FileKind::Nfe;
            if (root == u"procEventoNFe")
                return FileKind::NfeEvent;
            return FileKind::Unknown;
        }
    }
    return FileKind::Unknown;
}

FileKind efdKind(QByteArrayView head)
{
    const qsizetype end = head.indexOf('\n');
    const QByteArrayView line = end < 0 ? head : head.first(end);
    const QList<QByteArray> fields = line.toByteArray().split('|'); // "", "0000", field 02, field 03, field 04...
    const QByteArray fourth = fields.value(4);
    const bool date =
        fourth.size() == 8 && std::all_of(fourth.begin(), fourth.end(), [](char c) { return c >= '0' && c <= '9'; });
    return date ? FileKind::EfdIcmsIpi : FileKind::EfdContribuicoes;
}

} // namespace

FileKind kindOf(QByteArrayView head)
{
    if (head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06"))
        return FileKind::Zip;
    if (head.startsWith("\xEF\xBB\xBF"))
        head = head.sliced(3);
    while (!head.isEmpty() &&
           (head.front() == ' ' || head.front() == '\t' || head.front() == '\r' || head.front() == '\n'))
        head = head.sliced(1);
    if (head.startsWith('<'))
        return xmlKind(head);
    if (head.startsWith("|0000|"))
        return efdKind(head);
    return FileKind::Unknown;
}

} // namespace fiscalimport
