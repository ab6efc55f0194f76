#include "RdmConferenciaFiscal.h"

#include "PacketQuery.h"

#include <future>

namespace fiscal {

namespace {

// SQLite's count of the commits other connections made, as connection sees them.
qint64 dataVersion(database::ScopedConnection& connection)
{
    QSqlQuery& query = connection.prepared(u"PRAGMA data_version"_s, {});
    execOrThrow(query);
    const qint64 version = query.next() ? query.value(0).toLongLong() : 0;
    query.finish();
    return version;
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
