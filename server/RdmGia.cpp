#include "RdmConferenciaFiscal.h"

#include "DatabaseError.h"
#include "PacketQuery.h"

#include <QSqlError>
#include <future>

namespace fiscal {

namespace {

// SQLite's count of the commits other connections made, as connection sees them.
qint64 dataVersion(database::ScopedConnection& connection)
{
    QSqlQuery query(connection.database());
    if (!query.exec(u"PRAGMA data_version"_s) || !query.next())
        throw database::DatabaseError(
            u"Falha na consulta ao banco de dados fiscal: %1"_s.arg(query.lastError().text()));
    return query.value(0).toLongLong();
}

} // namespace

MethodResult RdmConferenciaFiscal::getDadosGia(const GiaFilter& filter) const
{
    const QJsonArray applied{filter.models.join(u','), filter.types.join(u',')};
    if (filter.directions.size() == 2 && m_database.engine() == database::Engine::SQLite)
        if (std::optional<protocol::WrittenPacket> both = entriesBesideExits(filter))
            return {std::move(*both), applied};
    return {writePacketQuery(giaDocumentsQuery(connection(), filter), giaDocumentFields()), applied};
}

// Both directions on SQLite, which reads a statement on one core: the exits are read on a second thread, on a
// connection of their own, while this one reads the entries. The rows come by direction first, so the exits follow
// the entries as they are. Nothing when another connection committed while the two were read, since the halves may
// then show different states of the database: the caller reads the listing again as one statement. On PostgreSQL
// the listing stays one statement, on the one connection of the caller's role that the call holds.
std::optional<protocol::WrittenPacket> RdmConferenciaFiscal::entriesBesideExits(const GiaFilter& filter) const
{
    GiaFilter entries = filter;
    GiaFilter exits = filter;
    entries.directions = {u"E"_s};
    exits.directions = {u"S"_s};
    database::ScopedConnection& own = connection();
    const qint64 before = dataVersion(own);
    std::future<protocol::PacketWriter> exitRows = std::async(std::launch::async, [this, exits] {
        database::ScopedConnection second(m_database, database::Access::ReadOnly, m_credentials);
        protocol::PacketWriter writer(giaDocumentFields());
        writeQueryRows(giaDocumentsQuery(second, exits), giaDocumentFields(), writer);
        return writer;
    });
    protocol::PacketWriter writer(giaDocumentFields());
    writeQueryRows(giaDocumentsQuery(own, entries), giaDocumentFields(), writer);
    writer.appendRowsOf(exitRows.get());
    if (dataVersion(own) != before)
        return std::nullopt;
    return writer.finish();
}

} // namespace fiscal
