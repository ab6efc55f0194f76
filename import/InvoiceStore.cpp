#include "InvoiceStore.h"

#include "InsertRows.h"
#include "OperationTypes.h"
#include "PacketQuery.h"
#include "ScopedConnection.h"
#include "SqlValues.h"

#include <algorithm>

using namespace Qt::StringLiterals;

using fiscal::execOrThrow;
using fiscal::sqlDate;

namespace fiscalimport {

struct InvoiceStore::Header {
    QString company;
    QString registration;
    QString direction;
    QString type;
    QString model;
    QString series;
    QString number;
    QDate issued;
    QDate moved;
    QDate booked;
    QString participantName;
    QString participantCnpj;
    QString participantUf;
    QString status = u"N"_s;
    Cents total = 0;
    QString key;

    bool operator==(const Header&) const = default;
};

namespace {

const QString headerColumns = u"CDEMPRESA, CDINSCRICAO, IDENTRSAIDOP, CDTIPOOPER, CDMODDOCFISC, NRSERIE, NRNOTAFISC, "
                              "DTEMISSAO, DTENTRSAID, DTESCRITURACAO, NMPARTICIPANTE, NRCNPJPARTIC, SGUFPARTIC, "
                              "IDSITUACAO, VRTOTALNF, NRCHAVEACESSO"_s;

// A series or number written with leading zeros ("001") is the same as without.
QString withoutLeadingZeros(const QString& digits)
{
    bool ok = false;
    const qulonglong value = digits.toULongLong(&ok);
    return ok ? QString::number(value) : digits;
}

bool sameDecimal(double a, double b) { return qRound64(a * 1e6) == qRound64(b * 1e6); }

bool sameTax(const ItemTax& a, const ItemTax& b)
{
    return a.tax == b.tax && a.cst == b.cst && a.base == b.base && sameDecimal(a.rate, b.rate) &&
           a.amount == b.amount && a.exempt == b.exempt && a.other == b.other;
}

bool sameItem(const InvoiceItem& a, const InvoiceItem& b)
{
    return a.number == b.number && a.description == b.description && a.cfop == b.cfop &&
           sameDecimal(a.quantity, b.quantity) && sameDecimal(a.unitPrice, b.unitPrice) && a.total == b.total &&
           a.discount == b.discount && a.accountingValue == b.accountingValue &&
           std::equal(a.taxes.begin(), a.taxes.end(), b.taxes.begin(), b.taxes.end(), sameTax);
}

bool sameItems(const QList<InvoiceItem>& a, const QList<InvoiceItem>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameItem);
}

} // namespace

// The values of headerColumns, in order.
QVariantList InvoiceStore::valuesOf(const Header& header)
{
    return {header.company,
            notNull(header.registration),
            header.direction,
            header.type,
            header.model,
            notNull(header.series),
            notNull(header.number),
            sqlDate(header.issued),
            sqlDate(header.moved),
            sqlDate(header.booked),
            notNull(header.participantName),
            notNull(header.participantCnpj),
            notNull(header.participantUf),
            header.status,
            toCurrency(header.total),
            emptyAsNull(header.key)};
}

InvoiceStore::InvoiceStore(database::ScopedConnection& connection, const OperationTypes& types)
    : m_connection(connection), m_types(types)
{}

Stored InvoiceStore::store(const Invoice& invoice, const InvoiceSide& side)
{
    Header desired{side.company,
                   side.registration,
                   QString(side.direction),
                   QString(),
                   invoice.model,
                   withoutLeadingZeros(invoice.series).left(3),
                   withoutLeadingZeros(invoice.number).left(20),
                   invoice.issued,
                   invoice.moved,
                   side.booked,
                   side.participant.name.left(60),
                   side.participant.cnpj.left(14),
                   side.participant.uf.left(2),
                   u"N"_s,
                   invoice.total,
                   invoice.key};
    const std::optional<qint64> id = find(invoice, side);
    if (!id) {
        const QList<InvoiceItem> items = itemsFor(invoice, side, nullptr);
        desired.type = m_types.typeOf(items.first().cfop);
        const qint64 created = insertHeader(desired);
        replaceItems(created, items, false);
        return {created, StoreOutcome::New};
    }

    const Header existing = headerOf(*id);
    const QList<InvoiceItem> existingItems = itemsOf(*id);
    // Once booked, an invoice's booking date is the book's, and so are an entry's date, registration and CFOPs.
    desired.booked = existing.booked;
    desired.status = existing.status;
    const bool booked = existing.booked.isValid();
    if (booked) {
        desired.registration = existing.registration;
        desired.moved = existing.moved;
    }
    const QList<InvoiceItem> items =
        itemsFor(invoice, side, booked && existing.direction == u"E" ? &existingItems : nullptr);
    desired.type = m_types.typeOf(items.first().cfop);
    const bool sameHeader = desired == existing;
    const bool sameItemRows = sameItems(items, existingItems);
    if (sameHeader && sameItemRows)
        return {*id, StoreOutcome::Unchanged};
    if (!sameHeader)
        updateHeader(*id, desired);
    if (!sameItemRows)
        replaceItems(*id, items, true);
    return {*id, StoreOutcome::Updated};
}

std::optional<Stored> InvoiceStore::book(const Invoice& invoice, const InvoiceSide& side, const Booking& booking)
{
    const std::optional<qint64> id = find(invoice, side);
    if (!id)
        return std::nullopt;
    const Header existing = headerOf(*id);
    if (booking.onlyWhenPending && existing.booked.isValid())
        return Stored{*id, StoreOutcome::Unchanged};
    Header desired = existing;
    desired.booked = booking.booked;
    if (booking.moved.isValid())
        desired.moved = booking.moved;
    if (!booking.registration.isEmpty())
        desired.registration = booking.registration;

    const QList<InvoiceItem> items = itemsOf(*id);
    QList<std::pair<int, QString>> changedCfops;
    if (existing.direction == u"E" && !items.isEmpty()) {
        QString firstCfop;
        for (const InvoiceItem& item : items) {
            const QString cfop = booking.cfops.value(item.number, booking.cfop.isEmpty() ? item.cfop : booking.cfop);
            if (firstCfop.isEmpty())
                firstCfop = cfop;
            if (cfop != item.cfop)
                changedCfops.append({item.number, cfop});
        }
        desired.type = m_types.typeOf(firstCfop);
    }
    if (desired == existing && changedCfops.isEmpty())
        return Stored{*id, StoreOutcome::Unchanged};
    if (!(desired == existing))
        updateHeader(*id, desired);
    for (const auto& [number, cfop] : changedCfops)
        execOrThrow(m_connection.prepared(
            u"UPDATE ITEMNOTAFISCAL SET CDFISCOPERIT = ? WHERE NRSEQNOTAFISC = ? AND NRITEM = ?"_s,
            {cfop, *id, number}));
    return Stored{*id, StoreOutcome::Updated};
}

std::optional<StoreOutcome> InvoiceStore::cancel(const QString& key)
{
    QSqlQuery& update = m_connection.prepared(
        u"UPDATE NOTAFISCAL SET IDSITUACAO = 'C' WHERE NRCHAVEACESSO = ? AND IDSITUACAO <> 'C'"_s, {key});
    execOrThrow(update);
    if (update.numRowsAffected() > 0)
        return StoreOutcome::Updated;
    QSqlQuery& present = m_connection.prepared(u"SELECT 1 FROM NOTAFISCAL WHERE NRCHAVEACESSO = ?"_s, {key});
    execOrThrow(present);
    return present.next() ? std::optional(StoreOutcome::Unchanged) : std::nullopt;
}

std::optional<Stored> InvoiceStore::cancel(const Invoice& invoice, const InvoiceSide& side)
{
    const std::optional<qint64> id = find(invoice, side);
    if (!id)
        return std::nullopt;
    QSqlQuery& update = m_connection.prepared(
        u"UPDATE NOTAFISCAL SET IDSITUACAO = 'C' WHERE NRSEQNOTAFISC = ? AND IDSITUACAO <> 'C'"_s, {*id});
    execOrThrow(update);
    return Stored{*id, update.numRowsAffected() > 0 ? StoreOutcome::Updated : StoreOutcome::Unchanged};
}

std::optional<qint64> InvoiceStore::find(const Invoice& invoice, const InvoiceSide& side)
{
    QSqlQuery& query =
        invoice.key.isEmpty()
            ? m_connection.prepared(u"SELECT NRSEQNOTAFISC FROM NOTAFISCAL WHERE CDEMPRESA = ? AND IDENTRSAIDOP = ? "
                                    "AND CDMODDOCFISC = ? AND NRSERIE = ? AND NRNOTAFISC = ? AND NRCNPJPARTIC = ? "
                                    "AND NRCHAVEACESSO IS NULL"_s,
                                    {side.company, QString(side.direction), invoice.model,
                                     withoutLeadingZeros(invoice.series), withoutLeadingZeros(invoice.number),
                                     side.participant.cnpj})
            : m_connection.prepared(u"SELECT NRSEQNOTAFISC FROM NOTAFISCAL WHERE CDEMPRESA = ? AND NRCHAVEACESSO = ?"_s,
                                    {side.company, invoice.key});
    execOrThrow(query);
    return query.next() ? std::optional(query.value(0).toLongLong()) : std::nullopt;
}

InvoiceStore::Header InvoiceStore::headerOf(qint64 id)
{
    QSqlQuery& query =
        m_connection.prepared(u"SELECT %1 FROM NOTAFISCAL WHERE NRSEQNOTAFISC = ?"_s.arg(headerColumns), {id});
    execOrThrow(query);
    query.next();
    int column = 0;
    const auto next = [&] { return query.value(column++); };
    Header header;
    header.company = next().toString();
    header.registration = next().toString();
    header.direction = next().toString();
    header.type = next().toString();
    header.model = next().toString();
    header.series = next().toString();
    header.number = next().toString();
    header.issued = next().toDate();
    header.moved = next().toDate();
    header.booked = next().toDate();
    header.participantName = next().toString();
    header.participantCnpj = next().toString();
    header.participantUf = next().toString();
    header.status = next().toString();
    header.total = toCents(next().toDouble());
    header.key = next().toString();
    return header;
}

QList<InvoiceItem> InvoiceStore::itemsOf(qint64 id)
{
    QSqlQuery& items = m_connection.prepared(
        u"SELECT NRITEM, DSPRODUTO, CDFISCOPERIT, QTITEM, VRUNITARIO, VRTOTALITEM, VRDESCONTOIT, VRCONTABILIT "
        "FROM ITEMNOTAFISCAL WHERE NRSEQNOTAFISC = ? ORDER BY NRITEM"_s,
        {id});
    execOrThrow(items);
    QList<InvoiceItem> result;
    while (items.next())
        result.append({items.value(0).toInt(), items.value(1).toString(), items.value(2).toString(),
                       items.value(3).toDouble(), items.value(4).toDouble(), toCents(items.value(5).toDouble()),
                       toCents(items.value(6).toDouble()), toCents(items.value(7).toDouble())});
    QSqlQuery& taxes = m_connection.prepared(
        u"SELECT NRITEM, CDIMPOSTO, CDSITUTRIBIT, VRBASECALCIT, VRALIQUOTAIT, VRIMPOSTOIT, VRISENTOIT, VROUTROSIT "
        "FROM ITEMNFIMPOSTO WHERE NRSEQNOTAFISC = ? ORDER BY NRITEM, CDIMPOSTO"_s,
        {id});
    execOrThrow(taxes);
    while (taxes.next()) {
        const int number = taxes.value(0).toInt();
        const auto item = std::find_if(result.begin(), result.end(), [&](const auto& i) { return i.number == number; });
        if (item != result.end())
            item->taxes.append({taxes.value(1).toString(), taxes.value(2).toString(),
                                toCents(taxes.value(3).toDouble()), taxes.value(4).toDouble(),
                                toCents(taxes.value(5).toDouble()), toCents(taxes.value(6).toDouble()),
                                toCents(taxes.value(7).toDouble())});
    }
    return result;
}

QList<InvoiceItem> InvoiceStore::itemsFor(const Invoice& invoice, const InvoiceSide& side,
                                          const QList<InvoiceItem>* booked)
{
    QList<InvoiceItem> items = invoice.items;
    for (InvoiceItem& item : items) {
        item.description = item.description.left(60);
        const auto bookedItem = booked ? std::find_if(booked->begin(), booked->end(),
                                                      [&](const auto& b) { return b.number == item.number; })
                                       : QList<InvoiceItem>::const_iterator();
        if (booked && bookedItem != booked->end())
            item.cfop = bookedItem->cfop;
        else if (side.mirrorCfops)
            item.cfop = mirroredCfop(item.cfop);
        for (ItemTax& tax : item.taxes)
            tax.cst = tax.cst.left(3);
        std::sort(item.taxes.begin(), item.taxes.end(), [](const auto& a, const auto& b) { return a.tax < b.tax; });
    }
    std::sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
    return items;
}

qint64 InvoiceStore::insertHeader(const Header& header)
{
    QSqlQuery& insert = m_connection.prepared(
        u"INSERT INTO NOTAFISCAL (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING NRSEQNOTAFISC"_s
            .arg(headerColumns),
        valuesOf(header));
    execOrThrow(insert);
    insert.next();
    const qint64 id = insert.value(0).toLongLong();
    insert.finish();
    return id;
}

void InvoiceStore::updateHeader(qint64 id, const Header& header)
{
    QString assignments = headerColumns;
    assignments.replace(u", "_s, u" = ?, "_s);
    execOrThrow(m_connection.prepared(u"UPDATE NOTAFISCAL SET %1 = ? WHERE NRSEQNOTAFISC = ?"_s.arg(assignments),
                                      valuesOf(header) + QVariantList{id}));
}

void InvoiceStore::replaceItems(qint64 id, const QList<InvoiceItem>& items, bool deleteFirst)
{
    if (deleteFirst) {
        execOrThrow(m_connection.prepared(u"DELETE FROM ITEMNFIMPOSTO WHERE NRSEQNOTAFISC = ?"_s, {id}));
        execOrThrow(m_connection.prepared(u"DELETE FROM ITEMNOTAFISCAL WHERE NRSEQNOTAFISC = ?"_s, {id}));
    }
    static const QStringList itemColumns = {u"NRSEQNOTAFISC"_s, u"NRITEM"_s,       u"DSPRODUTO"_s,
                                            u"CDFISCOPERIT"_s,  u"QTITEM"_s,       u"VRUNITARIO"_s,
                                            u"VRTOTALITEM"_s,   u"VRDESCONTOIT"_s, u"VRCONTABILIT"_s};
    static const QStringList taxColumns = {u"NRSEQNOTAFISC"_s, u"NRITEM"_s,       u"CDIMPOSTO"_s,
                                           u"CDSITUTRIBIT"_s,  u"VRBASECALCIT"_s, u"VRALIQUOTAIT"_s,
                                           u"VRIMPOSTOIT"_s,   u"VRISENTOIT"_s,   u"VROUTROSIT"_s};
    QList<QVariantList> itemRows;
    QList<QVariantList> taxRows;
    for (const InvoiceItem& item : items) {
        itemRows.append({id, item.number, notNull(item.description), item.cfop, item.quantity, item.unitPrice,
                         toCurrency(item.total), toCurrency(item.discount), toCurrency(item.accountingValue)});
        for (const ItemTax& tax : item.taxes)
            taxRows.append({id, item.number, tax.tax, notNull(tax.cst), toCurrency(tax.base), tax.rate,
                            toCurrency(tax.amount), toCurrency(tax.exempt), toCurrency(tax.other)});
    }
    insertRows(m_connection, u"ITEMNOTAFISCAL"_s, itemColumns, itemRows);
    insertRows(m_connection, u"ITEMNFIMPOSTO"_s, taxColumns, taxRows);
}

} // namespace fiscalimport
