#pragma once

#include "DataPacket.h"
#include "DatabaseAddress.h"
#include "GiaDocuments.h"
#include "ScopedConnection.h"

#include <QDate>
#include <QJsonArray>
#include <QSqlDatabase>
#include <QString>
#include <optional>

using namespace Qt::StringLiterals;

namespace fiscal {

// A method's packet, written as it goes in the answer, and the by-reference arguments as the method leaves them.
struct MethodResult {
    MethodResult(const protocol::DataPacket& packet) : data(packet.written()) {}
    MethodResult(protocol::WrittenPacket packet, QJsonArray out) : data(std::move(packet)), out(std::move(out)) {}

    protocol::WrittenPacket data;
    QJsonArray out;
};

// The remote data module "rlx58200.rdmConferenciaFiscal": the methods the screen calls, reading the fiscal
// database through the calling thread's read-only connection, opened on the first query. Each returns the
// packet of the dataset it is loaded into, with that dataset's fields (names, types, sizes) in that order.
// Unknown codes give a packet without rows. Throws database::DatabaseError.
class RdmConferenciaFiscal {
public:
    static QString serverName() { return u"rlx58200.rdmConferenciaFiscal"_s; }

    // Reads as the role of credentials (the address's own user without them).
    explicit RdmConferenciaFiscal(const database::DatabaseAddress& database, database::Credentials credentials = {})
        : m_database(database), m_credentials(std::move(credentials))
    {}

    // allFlag "T": every tax ordered by code; otherwise the tax whose code equals code, or no row. (cdsImpo)
    protocol::DataPacket GetImpoGrup(const QString& code, const QString& allFlag) const;
    // Empty code: every book ordered by code; otherwise that book, or no row. With the book's tax and the
    // tax's collecting-authority indicator. (cdsLivro)
    protocol::DataPacket GetLivroMag(const QString& code) const;

    // The apportionment-map periods of company, registration and tax, ordered by start; an empty registration
    // matches the maps kept without registration. DTINICIAL is the start as "dd/MM/yyyy" (protocol::TextDateFormat),
    // as DTFINAL below. (cdsDataInicial)
    protocol::DataPacket GetDtIni(const QString& company, const QString& registration, const QString& tax) const;
    // The periods that end on or after start (all of them for a null start), ordered by end. (cdsDataFinal)
    protocol::DataPacket GetDtFim(const QString& company, const QString& registration, const QDate& start,
                                  const QString& tax) const;
    // The periods that start on date. (cdsVdDataIni)
    protocol::DataPacket GetVdDataIni(const QString& company, const QString& registration, const QDate& date,
                                      const QString& tax) const;
    // The periods that end on date. (cdsVdDataFinal)
    protocol::DataPacket GetVdDataFinal(const QString& company, const QString& registration, const QDate& date,
                                        const QString& tax) const;

    // The documents of the GIA listing (cdsDadosGiaSP); out: the model and operation-type lists as applied.
    MethodResult getDadosGia(const GiaFilter& filter) const;

private:
    database::ScopedConnection& connection() const;
    std::optional<protocol::WrittenPacket> entriesBesideExits(const GiaFilter& filter) const;

    const database::DatabaseAddress& m_database;
    const database::Credentials m_credentials;
};

} // namespace fiscal
