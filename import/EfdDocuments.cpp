#include "EfdDocuments.h"

#include "CheckDigits.h"
#include "EfdReader.h"
#include "ImportContext.h"
#include "InvoiceStore.h"
#include "RefusedFile.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace fiscalimport {

namespace {

constexpr const char* participantFields[] = {"REG", "COD_PART", "NOME", "COD_PAIS", "CNPJ", "CPF", "IE", "COD_MUN"};
constexpr const char* itemFields[] = {"REG", "COD_ITEM", "DESCR_ITEM"};
constexpr const char* c100Fields[] = {"REG",      "IND_OPER",  "IND_EMIT",   "COD_PART",  "COD_MOD",       "COD_SIT",
                                      "SER",      "NUM_DOC",   "CHV_NFE",    "DT_DOC",    "DT_E_S",        "VL_DOC",
                                      "IND_PGTO", "VL_DESC",   "VL_ABAT_NT", "VL_MERC",   "IND_FRT",       "VL_FRT",
                                      "VL_SEG",   "VL_OUT_DA", "VL_BC_ICMS", "VL_ICMS",   "VL_BC_ICMS_ST", "VL_ICMS_ST",
                                      "VL_IPI",   "VL_PIS",    "VL_COFINS",  "VL_PIS_ST", "VL_COFINS_ST"};
constexpr const char* c170Fields[] = {
    "REG",           "NUM_ITEM",     "COD_ITEM",     "DESCR_COMPL",     "QTD",
    "UNID",          "VL_ITEM",      "VL_DESC",      "IND_MOV",         "CST_ICMS",
    "CFOP",          "COD_NAT",      "VL_BC_ICMS",   "ALIQ_ICMS",       "VL_ICMS",
    "VL_BC_ICMS_ST", "ALIQ_ST",      "VL_ICMS_ST",   "IND_APUR",        "CST_IPI",
    "COD_ENQ",       "VL_BC_IPI",    "ALIQ_IPI",     "VL_IPI",          "CST_PIS",
    "VL_BC_PIS",     "ALIQ_PIS",     "QUANT_BC_PIS", "ALIQ_PIS_QUANT",  "VL_PIS",
    "CST_COFINS",    "VL_BC_COFINS", "ALIQ_COFINS",  "QUANT_BC_COFINS", "ALIQ_COFINS_QUANT",
    "VL_COFINS",     "COD_CTA",      "VL_ABAT_NT"};
constexpr const char* c190Fields[] = {"REG",     "CST_ICMS",      "CFOP",       "ALIQ_ICMS", "VL_OPR", "VL_BC_ICMS",
                                      "VL_ICMS", "VL_BC_ICMS_ST", "VL_ICMS_ST", "VL_RED_BC", "VL_IPI", "COD_OBS"};

// The UF of an IBGE municipality code, by its first two digits.
QString ufOfMunicipality(const QString& code)
{
    static const QHash<QString, QString> ufs = {
        {u"11"_s, u"RO"_s}, {u"12"_s, u"AC"_s}, {u"13"_s, u"AM"_s}, {u"14"_s, u"RR"_s}, {u"15"_s, u"PA"_s},
        {u"16"_s, u"AP"_s}, {u"17"_s, u"TO"_s}, {u"21"_s, u"MA"_s}, {u"22"_s, u"PI"_s}, {u"23"_s, u"CE"_s},
        {u"24"_s, u"RN"_s}, {u"25"_s, u"PB"_s}, {u"26"_s, u"PE"_s}, {u"27"_s, u"AL"_s}, {u"28"_s, u"SE"_s},
        {u"29"_s, u"BA"_s}, {u"31"_s, u"MG"_s}, {u"32"_s, u"ES"_s}, {u"33"_s, u"RJ"_s}, {u"35"_s, u"SP"_s},
        {u"41"_s, u"PR"_s}, {u"42"_s, u"SC"_s}, {u"43"_s, u"RS"_s}, {u"50"_s, u"MS"_s}, {u"51"_s, u"MT"_s},
        {u"52"_s, u"GO"_s}, {u"53"_s, u"DF"_s}};
    return ufs.value(code.left(2), u"EX"_s);
}

QString rateKey(double rate) { return QString::number(qRound64(rate * 10000)); }

// The ICMS, ICMS ST, IPI, PIS and COFINS of an item, as a C170 gives them.
QList<ItemTax> taxesOfC170(const EfdReader& r, Cents accountingValue)
{
    QList<ItemTax> taxes;
    const QString icmsCst = r.text(10);
    if (!icmsCst.isEmpty()) {
        ItemTax icms{tax::icms, icmsCst, r.amount(13), r.decimal(14), r.amount(15)};
        splitExemptAndOther(icms, accountingValue - icms.base - r.amount(24) - r.amount(18));
        taxes.append(icms);
        if (r.amount(16) != 0 || r.amount(18) != 0)
            taxes.append({tax::icmsSt, icmsCst, r.amount(16), r.decimal(17), r.amount(18)});
    }
    const struct {
        const QString& tax;
        int cst, base, rate, amount;
    } others[] = {{tax::ipi, 20, 22, 23, 24}, {tax::pis, 25, 26, 27, 30}, {tax::cofins, 31, 32, 33, 36}};
    for (const auto& other : others)
        if (const QString cst = r.text(other.cst); !cst.isEmpty())
            taxes.append({other.tax, cst, r.amount(other.base), r.decimal(other.rate), r.amount(other.amount)});
    return taxes;
}

} // namespace

bool EfdRegisters::read(EfdReader& reader)
{
    if (reader.is("0150")) {
        reader.expect(participantFields);
        const QString cnpj = reader.text(5);
        participants.insert(reader.requiredText(2), {cnpj.isEmpty() ? reader.text(6) : cnpj, reader.text(3),
                                                     ufOfMunicipality(reader.text(8)), reader.text(7)});
        return true;
    }
    if (reader.is("0200")) {
        reader.expect(itemFields);
        itemNames.insert(reader.requiredText(2), reader.text(3));
        return true;
    }
    return false;
}

EfdDocuments::EfdDocuments(ImportContext& context, const EfdRegisters& registers, Book book)
    : m_context(context), m_registers(registers), m_book(book)
{}

void EfdDocuments::setPeriod(const Period& period)
{
    finish();
    m_period = period;
}

bool EfdDocuments::read(EfdReader& reader)
{
    if (reader.is("C100")) {
        finish();
        startDocument(reader);
        return true;
    }
    if (!m_document || !isUnderC100(reader.record())) {
        finish();
        return false;
    }
    if (reader.is("C170"))
        addItem(reader);
    else if (reader.is("C190") && m_book == Book::IcmsIpi)
        addTotal(reader);
    return true;
}

void EfdDocuments::finish()
{
    if (m_document)
        bookDocument(*m_document);
    m_document.reset();
}

// The records of block C under a C100: C101 to C199 in EFD ICMS/IPI; C101 to C179 in EFD-Contribuições, whose C180
// and C190 are consolidations of their own.
bool EfdDocuments::isUnderC100(QByteArrayView record) const
{
    const QByteArrayView last = m_book == Book::IcmsIpi ? "C199" : "C179";
    return record.size() == 4 && record > QByteArrayView("C100") && record <= last;
}

void EfdDocuments::startDocument(EfdReader& reader)
{
    reader.expect(c100Fields);
    Document document;
    document.line = reader.lineNumber();
    const QString operation = reader.requiredText(2);
    if (operation != u"0" && operation != u"1")
        reader.refuseField(2, u"\"%1\" não é 0 (entrada) nem 1 (saída)"_s.arg(operation));
    document.direction = operation == u"0" ? u"E"_s : u"S"_s;
    document.participant = reader.text(4);
    document.model = reader.requiredText(5);
    document.situation = reader.requiredText(6);
    document.series = reader.text(7);
    document.number = reader.text(8);
    document.key = reader.text(9);
    document.issued = reader.date(10);
    document.moved = reader.date(11);
    document.total = reader.amount(12);
    if (!document.key.isEmpty() && !isValidAccessKey(document.key))
        reader.refuseField(
            9, u"\"%1\" não é uma chave de acesso válida (44 dígitos, dígito verificador)"_s.arg(document.key));
    if (!cancelled(document) && document.situation != u"04" && document.situation != u"05") {
        if (!document.issued.isValid())
            reader.refuseField(10, u"o campo é obrigatório e está vazio"_s);
        if (!document.participant.isEmpty() && !m_registers.participants.contains(document.participant))
            reader.refuseField(4, u"o participante \"%1\" não está no registro 0150"_s.arg(document.participant));
    }
    m_document = document;
}

void EfdDocuments::addItem(EfdReader& reader)
{
    reader.expect(c170Fields);
    InvoiceItem item;
    bool numbered = false;
    item.number = reader.requiredText(2).toInt(&numbered);
    if (!numbered || item.number <= 0)
        reader.refuseField(2, u"\"%1\" não é um número de item"_s.arg(reader.text(2)));
    const QString description = reader.text(4);
    item.description =
        description.isEmpty() ? m_registers.itemNames.value(reader.text(3), reader.text(3)) : description;
    item.cfop = reader.requiredText(11);
    item.quantity = reader.decimal(5);
    item.total = reader.amount(7);
    item.discount = reader.amount(8);
    item.unitPrice = item.quantity != 0 ? toCurrency(item.total) / item.quantity : 0;
    item.accountingValue = item.total - item.discount + reader.amount(24) + reader.amount(18);
    item.taxes = taxesOfC170(reader, item.accountingValue);
    m_document->items.append(item);

    if (m_book != Book::PisCofins || cancelled(*m_document))
        return;
    for (const ItemTax& tax : item.taxes)
        if (tax.tax == tax::pis || tax.tax == tax::cofins)
            addToBook(
                {book::pisCofins, tax.tax, QString(), tax.cst, tax.rate, item.accountingValue, tax.base, tax.amount});
}

void EfdDocuments::addTotal(EfdReader& reader)
{
    reader.expect(c190Fields);
    const Cents value = reader.amount(5);
    ItemTax icms{tax::icms, reader.requiredText(2), reader.amount(6), reader.decimal(4), reader.amount(7)};
    splitExemptAndOther(icms, value - icms.base - reader.amount(9) - reader.amount(11));
    const QString cfop = reader.requiredText(3);
    addToBook({m_document->direction == u"E" ? book::entries : book::exits, tax::icms, cfop, icms.cst, icms.rate, value,
               icms.base, icms.amount, icms.exempt, icms.other});

    InvoiceItem total;
    total.number = int(m_document->totals.size()) + 1;
    total.description = u"Totais do CST %1 no CFOP %2 (C190)"_s.arg(icms.cst, cfop);
    total.cfop = cfop;
    total.quantity = 1;
    total.unitPrice = toCurrency(value);
    total.total = value;
    total.accountingValue = value;
    total.taxes = {icms};
    if (reader.amount(8) != 0 || reader.amount(9) != 0)
        total.taxes.append({tax::icmsSt, icms.cst, reader.amount(8), 0, reader.amount(9)});
    m_document->totals.append(total);
}

void EfdDocuments::addToBook(const BookLine& line)
{
    BookLine& sum = m_bookLines[QStringList{line.book, line.tax, line.cst, line.cfop, rateKey(line.rate)}.join(u'|')];
    if (sum.book.isEmpty()) {
        sum = line;
        return;
    }
    sum.accounting += line.accounting;
    sum.base += line.base;
    sum.amount += line.amount;
    sum.exempt += line.exempt;
    sum.other += line.other;
}

bool EfdDocuments::cancelled(const Document& document) const
{
    return document.situation == u"02" || document.situation == u"03";
}

void EfdDocuments::bookDocument(const Document& document)
{
    if (document.situation == u"04" || document.situation == u"05")
        return; // a denied or voided number: no invoice
    const Invoice invoice = invoiceOf(document);
    const InvoiceSide side = sideOf(document);
    if (cancelled(document)) {
        const std::optional<Stored> cancelledDocument = m_context.invoices.cancel(invoice, side);
        if (cancelledDocument && cancelledDocument->outcome == StoreOutcome::Updated)
            ++m_context.tally.cancellations;
        return;
    }
    if (!document.key.isEmpty()) {
        if (m_keysBooked.contains(document.key))
            return;
        m_keysBooked.insert(document.key);
    }

    Booking booking{bookingDateOf(document)};
    if (m_book == Book::IcmsIpi) {
        booking.moved = document.moved;
        booking.registration = m_period.registration;
        for (const InvoiceItem& item : document.items)
            booking.cfops.insert(item.number, item.cfop);
        QStringList cfops;
        for (const InvoiceItem& total : document.totals)
            cfops.append(total.cfop);
        cfops.removeDuplicates();
        if (cfops.size() == 1)
            booking.cfop = cfops.first();
    } else {
        booking.onlyWhenPending = true;
    }
    std::optional<Stored> stored = m_context.invoices.book(invoice, side, booking);
    if (!stored && !invoice.items.isEmpty())
        stored = m_context.invoices.store(invoice, side);
    if (stored) {
        m_context.tally.count(*stored);
        m_context.tally.addCompany(side.company);
    }
}

Invoice EfdDocuments::invoiceOf(const Document& document) const
{
    Invoice invoice;
    invoice.key = document.key;
    invoice.model = document.model;
    invoice.series = document.series;
    invoice.number = document.number;
    invoice.issued = document.issued;
    invoice.moved = document.moved.isValid() ? document.moved : document.issued;
    invoice.exit = document.direction == u"S";
    invoice.total = document.total;
    invoice.items = document.items.isEmpty() ? document.totals : document.items;
    return invoice;
}

InvoiceSide EfdDocuments::sideOf(const Document& document) const
{
    Party participant = m_registers.participants.value(document.participant);
    if (document.participant.isEmpty())
        participant = {QString(), u"Consumidor final"_s, m_period.companyUf};
    return {m_period.company,       m_period.registration, document.direction.at(0), participant, false,
            bookingDateOf(document)};
}

// The date a document was booked: its date of entry or exit (or issue) when that falls in the period; a document of
// an earlier month booked late takes the period's first day.
QDate EfdDocuments::bookingDateOf(const Document& document) const
{
    const QDate date = document.moved.isValid() ? document.moved : document.issued;
    return std::clamp(date, m_period.start, m_period.end);
}

} // namespace fiscalimport
