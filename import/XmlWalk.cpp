#include "XmlWalk.h"

#include "RefusedFile.h"

#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace fiscalimport {

namespace {

QString position(const QXmlStreamReader& reader)
{
    return u"linha %1, coluna %2"_s.arg(reader.lineNumber()).arg(reader.columnNumber());
}

[[noreturn]] void refuseMalformed(const QXmlStreamReader& reader)
{
    const QString reason = reader.error() == QXmlStreamReader::PrematureEndOfDocumentError
                               ? u"o XML termina antes de fechar os seus elementos (arquivo truncado?)"_s
                               : u"o XML está malformado"_s;
    throw RefusedFile(position(reader), reason);
}

} // namespace

void walkXml(const QByteArray& xml, XmlVisitor& visitor)
{
    QXmlStreamReader reader(xml);
    QStringList path;
    QString text;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            throw RefusedFile(position(reader), u"o XML declara um tipo de documento (DTD), o que uma NF-e não faz; "
                                                "por segurança ele não é lido"_s);
        case QXmlStreamReader::EntityReference:
            throw RefusedFile(position(reader), u"o XML usa a entidade \"%1\", o que uma NF-e não faz; por segurança "
                                                "ele não é lido"_s.arg(reader.name()));
        case QXmlStreamReader::StartElement:
            path.append(reader.name().toString());
            text.clear();
            visitor.start(path, reader.attributes());
            break;
        case QXmlStreamReader::Characters:
            if (!reader.isWhitespace())
                text += reader.text();
            break;
        case QXmlStreamReader::EndElement:
            if (!text.isEmpty())
                visitor.text(path, text);
            text.clear();
            visitor.end(path);
            path.removeLast();
            break;
        default:
            break;
        }
    }
    if (reader.hasError())
        refuseMalformed(reader);
}

} // namespace fiscalimport
