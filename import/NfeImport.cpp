#include "NfeImport.h"

#include "Companies.h"
#include "ImportContext.h"
#include "NfeEventReader.h"
#include "NfeReader.h"
#include "RefusedFile.h"

using namespace Qt::StringLiterals;

namespace fiscalimport {

namespace {

std::optional<Company> companyOf(const Party& party, ImportContext& context, const QString& declaredCompany)
{
    if (party.cnpj.isEmpty())
        return std::nullopt;
    if (party.cnpj == declaredCompany)
        return context.companies.findOrCreate(party.cnpj, party.name, party.uf);
    return context.companies.find(party.cnpj);
}

// The participant of a company's side: the other party, or the consumer an NFC-e does not name.
Party participantFacing(const Party& other, const Invoice& invoice)
{
    if (!other.name.isEmpty() || !other.cnpj.isEmpty())
        return other;
    return {QString(), u"Consumidor final"_s, invoice.issuer.uf, QString()};
}

void storeSide(const Invoice& invoice, const Company& company, bool issuerSide, ImportContext& context)
{
    const Party& own = issuerSide ? invoice.issuer : invoice.recipient;
    if (!own.registration.isEmpty() && own.registration != u"ISENTO")
        context.companies.addRegistration(company, own.registration, own.uf);
    const QString registration = own.registration.isEmpty() || own.registration == u"ISENTO"
                                     ? context.companies.firstRegistration(company)
                                     : own.registration;
    const bool exit = issuerSide == invoice.exit;
    const InvoiceSide side{
        company.code,       registration,
        exit ? u'S' : u'E', participantFacing(issuerSide ? invoice.recipient : invoice.issuer, invoice),
        !issuerSide,        QDate()};
    context.tally.count(context.invoices.store(invoice, side));
    context.tally.addCompany(company.code);
}

} // namespace

void importNfe(const QByteArray& xml, ImportContext& context, const QString& declaredCompany)
{
    const Invoice invoice = readNfe(xml);
    const std::optional<Company> issuer = companyOf(invoice.issuer, context, declaredCompany);
    const std::optional<Company> recipient = companyOf(invoice.recipient, context, declaredCompany);
    if (!issuer && !recipient)
        throw RefusedFile(u"nfeProc/NFe/infNFe"_s,
                          u"nenhuma empresa do banco de dados participa da nota (emitente CNPJ %1, destinatário %2): "
                          "importe antes a EFD da empresa, ou informe-a com --empresa"_s.arg(
                              invoice.issuer.cnpj, invoice.recipient.cnpj.isEmpty()
                                                       ? u"não identificado"_s
                                                       : u"CNPJ "_s + invoice.recipient.cnpj));
    if (issuer)
        storeSide(invoice, *issuer, true, context);
    if (recipient)
        storeSide(invoice, *recipient, false, context);
}

bool importNfeEvent(const QByteArray& xml, ImportContext& context)
{
    const NfeEvent event = readNfeEvent(xml);
    if (event.type != cancellationEvent)
        return false;
    const std::optional<StoreOutcome> outcome = context.invoices.cancel(event.key);
    if (!outcome)
        throw RefusedFile(u"procEventoNFe/evento/infEvento/chNFe"_s,
                          u"a nota de chave %1 não está no banco de dados: importe o seu XML antes do "
                          "cancelamento"_s.arg(event.key));
    if (*outcome == StoreOutcome::Updated)
        ++context.tally.cancellations;
    return true;
}

} // namespace fiscalimport
