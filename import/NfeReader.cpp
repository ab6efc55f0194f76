#include "NfeReader.h"

#include "CheckDigits.h"
#include "RefusedFile.h"
#include "XmlWalk.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace fiscalimport {

namespace {

const QString idePath = u"nfeProc/NFe/infNFe/ide/"_s;

// The ICMS of an item as its group gives it: the tax and the ICMS ST charged with it.
struct IcmsGroup {
    bool present = false;
    IcmsCode code = IcmsCode::Cst;
    QString origin;
    QString situation;
    Cents base = 0;
    double rate = 0;
    Cents amount = 0;
    Cents stBase = 0;
    double stRate = 0;
    Cents stAmount = 0;
};

// PIS, COFINS, IPI or ISS of an item.
struct TaxGroup {
    bool present = false;
    QString cst;
    Cents base = 0;
    double rate = 0;
    Cents amount = 0;
};

struct ItemInProgress {
    InvoiceItem item;
    bool hasTotal = false;
    Cents freight = 0;
    Cents insurance = 0;
    Cents otherExpenses = 0;
    IcmsGroup icms;
    TaxGroup ipi, pis, cofins, iss;
};

// The part of an element's path below infNFe, read in place.
struct Relative {
    const QStringList& path;
    qsizetype offset;
    qsizetype size() const { return path.size() - offset; }
    const QString& operator[](qsizetype i) const { return path[offset + i]; }
    const QString& last() const { return path.last(); }
};

class NfeVisitor : public XmlVisitor {
public:
    Invoice invoice;
    QString root;
    QString version;
    QString id;
    QHash<QString, QString> ide;
    bool hasProtocol = false;
    QString protocolKey;
    QString protocolStatus;
    QString protocolReason;

    void start(const QStringList& path, const QXmlStreamAttributes& attributes) override
    {
        const QString& name = path.last();
        if (path.size() == 1)
            root = name;
        if (name == u"infNFe") {
            m_infNFeDepth = path.size();
            id = attributes.value(u"Id"_s).toString();
            version = attributes.value(u"versao"_s).toString();
        } else if (name == u"det" && path.size() >= 2 && path[path.size() - 2] == u"infNFe") {
            m_item = ItemInProgress();
            bool ok = false;
            m_item.item.number = attributes.value(u"nItem"_s).toInt(&ok);
            if (!ok || m_item.item.number <= 0)
                throw RefusedFile(where(path), u"o item não traz o seu número (nItem)"_s);
        } else if (name == u"protNFe") {
            hasProtocol = true;
        }
    }

    void text(const QStringList& path, const QString& value) override
    {
        if (m_infNFeDepth > 0 && path.size() > m_infNFeDepth && path[m_infNFeDepth - 1] == u"infNFe")
            invoiceText({path, m_infNFeDepth}, path, value);
        else if (path.size() >= 2 && path[path.size() - 2] == u"infProt")
            protocolText(path.last(), value);
    }

    void end(const QStringList& path) override
    {
        if (path.last() == u"det" && path.size() >= 2 && path[path.size() - 2] == u"infNFe") {
            finishItem(path);
            m_item = ItemInProgress();
        }
    }

    QString where(const QStringList& path) const override
    {
        QString text = path.join(u'/');
        if (m_item.item.number > 0)
            text.replace(u"/det/"_s, u"/det[%1]/"_s.arg(m_item.item.number));
        return text;
    }

private:
    ItemInProgress m_item;
    qsizetype m_infNFeDepth = 0;

    Cents cents(const QStringList& path, const QString& value) const
    {
        const std::optional<Cents> parsed = parseCents(value, u'.');
        if (!parsed)
            throw RefusedFile(where(path), u"\"%1\" não é um valor (use ponto decimal e até duas casas)"_s.arg(value));
        return *parsed;
    }

    double decimal(const QStringList& path, const QString& value) const
    {
        const std::optional<double> parsed = parseDecimal(value, u'.', 10);
        if (!parsed)
            throw RefusedFile(where(path), u"\"%1\" não é um número"_s.arg(value));
        return *parsed;
    }

    void invoiceText(const Relative& relative, const QStringList& path, const QString& value)
    {
        const QString& section = relative[0];
        const QString& name = relative.last();
        if (section == u"ide" && relative.size() == 2)
            ide.insert(name, value);
        else if (section == u"emit")
            partyText(invoice.issuer, relative, u"enderEmit"_s, value);
        else if (section == u"dest")
            partyText(invoice.recipient, relative, u"enderDest"_s, value);
        else if (section == u"det" && relative.size() >= 3)
            itemText(relative, path, value);
        else if (section == u"total" && relative.size() == 3 && relative[1] == u"ICMSTot" && relative[2] == u"vNF")
            invoice.total = cents(path, value);
    }

    static void partyText(Party& party, const Relative& relative, const QString& address, const QString& value)
    {
        const QString& name = relative.last();
        if (relative.size() == 2) {
            if (name == u"CNPJ" || name == u"CPF")
                party.cnpj = value;
            else if (name == u"xNome")
                party.name = value;
            else if (name == u"IE")
                party.registration = value;
        } else if (relative.size() == 3 && relative[1] == address && name == u"UF") {
            party.uf = value;
        }
    }

    void itemText(const Relative& relative, const QStringList& path, const QString& value)
    {
        const QString& name = relative.last();
        if (relative[1] == u"prod" && relative.size() == 3)
            productText(name, path, value);
        else if (relative[1] == u"imposto" && relative.size() >= 4)
            taxText(relative, path, value);
    }

    void productText(const QString& name, const QStringList& path, const QString& value)
    {
        InvoiceItem& item = m_item.item;
        if (name == u"xProd")
            item.description = value;
        else if (name == u"CFOP")
            item.cfop = value;
        else if (name == u"qCom")
            item.quantity = decimal(path, value);
        else if (name == u"vUnCom")
            item.unitPrice = decimal(path, value);
        else if (name == u"vProd") {
            item.total = cents(path, value);
            m_item.hasTotal = true;
        } else if (name == u"vDesc")
            item.discount = cents(path, value);
        else if (name == u"vFrete")
            m_item.freight = cents(path, value);
        else if (name == u"vSeg")
            m_item.insurance = cents(path, value);
        else if (name == u"vOutro")
            m_item.otherExpenses = cents(path, value);
    }

    void taxText(const Relative& relative, const QStringList& path, const QString& value)
    {
        const QString& tax = relative[2];
        const QString& name = relative.last();
        if (tax == u"ICMS" && relative.size() == 5)
            icmsText(relative[3], name, path, value);
        else if (tax == u"IPI" && relative.size() == 5 && (relative[3] == u"IPITrib" || relative[3] == u"IPINT"))
            taxGroupText(m_item.ipi, name, u"pIPI"_s, u"vIPI"_s, path, value);
        else if (tax == u"PIS" && relative.size() == 5)
            taxGroupText(m_item.pis, name, u"pPIS"_s, u"vPIS"_s, path, value);
        else if (tax == u"COFINS" && relative.size() == 5)
            taxGroupText(m_item.cofins, name, u"pCOFINS"_s, u"vCOFINS"_s, path, value);
        else if (tax == u"ISSQN" && relative.size() == 4)
            issText(name, path, value);
    }

    void icmsText(const QString& group, const QString& name, const QStringList& path, const QString& value)
    {
        IcmsGroup& icms = m_item.icms;
        icms.present = true;
        if (group.startsWith(u"ICMSSN"))
            icms.code = IcmsCode::Csosn;
        if (name == u"orig")
            icms.origin = value;
        else if (name == u"CST" || name == u"CSOSN")
            icms.situation = value;
        else if (name == u"vBC")
            icms.base = cents(path, value);
        else if (name == u"pICMS")
            icms.rate = decimal(path, value);
        else if (name == u"vICMS")
            icms.amount = cents(path, value);
        else if (name == u"vBCST")
            icms.stBase = cents(path, value);
        else if (name == u"pICMSST")
            icms.stRate = decimal(path, value);
        else if (name == u"vICMSST")
            icms.stAmount = cents(path, value);
    }

    void taxGroupText(TaxGroup& group, const QString& name, const QString& rateName, const QString& amountName,
                      const QStringList& path, const QString& value)
    {
        group.present = true;
        if (name == u"CST")
            group.cst = value;
        else if (name == u"vBC")
            group.base = cents(path, value);
        else if (name == rateName)
            group.rate = decimal(path, value);
        else if (name == amountName)
            group.amount = cents(path, value);
    }

    void issText(const QString& name, const QStringList& path, const QString& value)
    {
        TaxGroup& iss = m_item.iss;
        iss.present = true;
        if (name == u"indISS")
            iss.cst = value.rightJustified(2, u'0');
        else if (name == u"vBC")
            iss.base = cents(path, value);
        else if (name == u"vAliq")
            iss.rate = decimal(path, value);
        else if (name == u"vISSQN")
            iss.amount = cents(path, value);
    }

    void protocolText(const QString& name, const QString& value)
    {
        if (name == u"chNFe")
            protocolKey = value;
        else if (name == u"cStat")
            protocolStatus = value;
        else if (name == u"xMotivo")
            protocolReason = value;
    }

    void finishItem(const QStringList& path)
    {
        InvoiceItem& item = m_item.item;
        const QString prod = where(path) + u"/prod/"_s;
        if (item.cfop.size() != 4 || item.cfop.toInt() <= 0)
            throw RefusedFile(prod + u"CFOP"_s, u"o item não traz um CFOP de quatro dígitos"_s);
        if (!m_item.hasTotal)
            throw RefusedFile(prod + u"vProd"_s, u"o item não traz o seu valor (vProd)"_s);
        const IcmsGroup& icms = m_item.icms;
        const Cents ipi = m_item.ipi.amount;
        item.accountingValue =
            item.total - item.discount + m_item.freight + m_item.insurance + m_item.otherExpenses + ipi + icms.stAmount;
        if (icms.present) {
            const QString code = icms.code == IcmsCode::Csosn ? icms.situation : icms.origin + icms.situation;
            ItemTax row{tax::icms, code, icms.base, icms.rate, icms.amount};
            splitExemptAndOther(row, item.accountingValue - icms.base - ipi - icms.stAmount, icms.code);
            item.taxes.append(row);
            if (icms.stBase != 0 || icms.stAmount != 0)
                item.taxes.append({tax::icmsSt, code, icms.stBase, icms.stRate, icms.stAmount});
        }
        const std::pair<const TaxGroup*, QString> groups[] = {
            {&m_item.ipi, tax::ipi}, {&m_item.pis, tax::pis}, {&m_item.cofins, tax::cofins}, {&m_item.iss, tax::iss}};
        for (const auto& [group, code] : groups)
            if (group->present)
                item.taxes.append({code, group->cst, group->base, group->rate, group->amount});
        invoice.items.append(item);
    }
};

QDate dateOf(const QString& where, const QString& value)
{
    const QDate date = QDate::fromString(value.left(10), Qt::ISODate);
    if (!date.isValid())
        throw RefusedFile(where, u"\"%1\" não é uma data e hora (AAAA-MM-DDThh:mm:ss-03:00)"_s.arg(value));
    return date;
}

QString required(const QHash<QString, QString>& ide, const QString& name)
{
    const QString value = ide.value(name);
    if (value.isEmpty())
        throw RefusedFile(idePath + name, u"falta o elemento %1"_s.arg(name));
    return value;
}

void checkAuthorised(const NfeVisitor& nfe)
{
    if (nfe.root != u"nfeProc" && nfe.root != u"NFe")
        throw RefusedFile(nfe.root, u"o XML não é uma NF-e (nfeProc)"_s);
    if (!nfe.hasProtocol)
        throw RefusedFile(nfe.root, u"a nota vem sem o protocolo de autorização (protNFe): só uma NF-e autorizada é "
                                    "importada"_s);
    if (nfe.protocolStatus != u"100" && nfe.protocolStatus != u"150")
        throw RefusedFile(u"nfeProc/protNFe/infProt/cStat"_s,
                          u"a nota não foi autorizada (situação %1: %2)"_s.arg(nfe.protocolStatus, nfe.protocolReason));
    if (nfe.version != u"4.00")
        throw RefusedFile(u"nfeProc/NFe/infNFe/@versao"_s,
                          u"o leiaute \"%1\" não é importado: só o leiaute 4.00 da NF-e"_s.arg(nfe.version));
    if (required(nfe.ide, u"tpAmb"_s) != u"1")
        throw RefusedFile(idePath + u"tpAmb"_s, u"a nota foi emitida em ambiente de homologação, sem valor fiscal"_s);
    const QString model = required(nfe.ide, u"mod"_s);
    if (model != u"55" && model != u"65")
        throw RefusedFile(idePath + u"mod"_s, u"o modelo %1 não é de NF-e (55) nem de NFC-e (65)"_s.arg(model));
}

// The access key: its check digit, the protocol's key, and each of its parts against the invoice.
void checkAccessKey(const NfeVisitor& nfe, const Invoice& invoice)
{
    const QString key = nfe.id.mid(3);
    if (!nfe.id.startsWith(u"NFe") || !isValidAccessKey(key))
        throw RefusedFile(u"nfeProc/NFe/infNFe/@Id"_s,
                          u"a chave de acesso \"%1\" não tem 44 dígitos com o dígito verificador certo"_s.arg(nfe.id));
    if (nfe.protocolKey != key)
        throw RefusedFile(u"nfeProc/protNFe/infProt/chNFe"_s,
                          u"o protocolo é de outra chave de acesso (%1, a nota é %2)"_s.arg(nfe.protocolKey, key));
    const QString yearMonth = invoice.issued.toString(u"yyMM"_s);
    struct Part {
        QString element;
        QString document;
        int at;
        int size;
    };
    const Part parts[] = {
        {idePath + u"cUF"_s, nfe.ide.value(u"cUF"_s), 0, 2},
        {idePath + u"dhEmi"_s, yearMonth, 2, 4},
        {u"nfeProc/NFe/infNFe/emit/CNPJ"_s, invoice.issuer.cnpj.rightJustified(14, u'0'), 6, 14},
        {idePath + u"mod"_s, invoice.model, 20, 2},
        {idePath + u"serie"_s, invoice.series.rightJustified(3, u'0'), 22, 3},
        {idePath + u"nNF"_s, invoice.number.rightJustified(9, u'0'), 25, 9},
        {idePath + u"tpEmis"_s, nfe.ide.value(u"tpEmis"_s), 34, 1},
        {idePath + u"cNF"_s, nfe.ide.value(u"cNF"_s).rightJustified(8, u'0'), 35, 8},
    };
    for (const Part& part : parts) {
        const QString inKey = key.mid(part.at, part.size);
        if (part.document != inKey)
            throw RefusedFile(part.element, u"\"%1\" não confere com a chave de acesso %2, que traz \"%3\""_s.arg(
                                                part.document, key, inKey));
    }
}

} // namespace

Invoice readNfe(const QByteArray& xml)
{
    NfeVisitor nfe;
    walkXml(xml, nfe);
    checkAuthorised(nfe);

    Invoice invoice = std::move(nfe.invoice);
    invoice.model = required(nfe.ide, u"mod"_s);
    invoice.series = required(nfe.ide, u"serie"_s);
    invoice.number = required(nfe.ide, u"nNF"_s);
    invoice.issued = dateOf(idePath + u"dhEmi"_s, required(nfe.ide, u"dhEmi"_s));
    const QString moved = nfe.ide.value(u"dhSaiEnt"_s);
    invoice.moved = moved.isEmpty() ? invoice.issued : dateOf(idePath + u"dhSaiEnt"_s, moved);
    invoice.exit = required(nfe.ide, u"tpNF"_s) == u"1";
    if (invoice.issuer.cnpj.isEmpty())
        throw RefusedFile(u"nfeProc/NFe/infNFe/emit"_s, u"falta o CNPJ do emitente"_s);
    if (invoice.items.isEmpty())
        throw RefusedFile(u"nfeProc/NFe/infNFe"_s, u"a nota não traz itens (det)"_s);
    checkAccessKey(nfe, invoice);
    invoice.key = nfe.id.mid(3);
    return invoice;
}

} // namespace fiscalimport
