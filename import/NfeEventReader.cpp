#include "NfeEventReader.h"

#include "CheckDigits.h"
#include "RefusedFile.h"
#include "XmlWalk.h"

using namespace Qt::StringLiterals;

namespace fiscalimport {

namespace {

class EventVisitor : public XmlVisitor {
public:
    QString root;
    QString key;
    QString type;
    QString answerKey;
    QString status;
    QString reason;

    void start(const QStringList& path, const QXmlStreamAttributes&) override
    {
        if (path.size() == 1)
            root = path.first();
    }

    void text(const QStringList& path, const QString& value) override
    {
        if (path.size() != 4 || path[2] != u"infEvento")
            return;
        const QString& name = path.last();
        if (path[1] == u"evento") {
            if (name == u"chNFe")
                key = value;
            else if (name == u"tpEvento")
                type = value;
        } else if (path[1] == u"retEvento") {
            if (name == u"chNFe")
                answerKey = value;
            else if (name == u"cStat")
                status = value;
            else if (name == u"xMotivo")
                reason = value;
        }
    }

    void end(const QStringList&) override {}
};

} // namespace

NfeEvent readNfeEvent(const QByteArray& xml)
{
    EventVisitor event;
    walkXml(xml, event);
    if (event.root != u"procEventoNFe")
        throw RefusedFile(event.root, u"o XML não é um evento de NF-e registrado (procEventoNFe)"_s);
    if (!isValidAccessKey(event.key))
        throw RefusedFile(
            u"procEventoNFe/evento/infEvento/chNFe"_s,
            u"a chave de acesso \"%1\" não tem 44 dígitos com o dígito verificador certo"_s.arg(event.key));
    if (event.status != u"135" && event.status != u"155")
        throw RefusedFile(u"procEventoNFe/retEvento/infEvento/cStat"_s,
                          u"o evento não foi registrado (situação %1: %2)"_s.arg(event.status, event.reason));
    if (event.answerKey != event.key)
        throw RefusedFile(
            u"procEventoNFe/retEvento/infEvento/chNFe"_s,
            u"o registro é de outra chave de acesso (%1, o evento é da %2)"_s.arg(event.answerKey, event.key));
    return {event.key, event.type};
}

} // namespace fiscalimport
