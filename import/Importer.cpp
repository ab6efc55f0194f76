#include "Importer.h"

#include "Companies.h"
#include "DatabaseError.h"
#include "EfdImport.h"
#include "FiscalDatabase.h"
#include "ImportContext.h"
#include "ImportInputs.h"
#include "NfeImport.h"
#include "OperationTypes.h"
#include "PacketQuery.h"
#include "ScopedConnection.h"
#include "SqlScript.h"
#include "ZipArchive.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace fiscalimport {

namespace {

constexpr qint64 maxXmlSize = 10 * 1000 * 1000;
// A batch is committed after this many files, or this long.
constexpr int filesPerBatch = 1000;
constexpr qint64 batchMs = 2000;

QString referenceScript()
{
    QFile file(u":/fiscal/reference.sql"_s);
    if (!file.open(QIODevice::ReadOnly))
        throw database::DatabaseError(u"O roteiro reference.sql não está embutido no programa."_s);
    return QString::fromUtf8(file.readAll());
}

void execute(QSqlDatabase& database, const QString& statement)
{
    QSqlQuery query(database);
    if (!query.exec(statement))
        throw database::DatabaseError(
            u"Falha ao gravar no banco de dados fiscal: %1 (%2)"_s.arg(query.lastError().text(), statement));
}

} // namespace

// The connection the import writes with, and what writes with it.
struct Importer::Session {
    database::ScopedConnection connection;
    QString declaredCompany;
    std::optional<OperationTypes> types;
    std::optional<Companies> companies;
    std::optional<InvoiceStore> invoices;
    std::optional<BookStore> books;

    Session(const QString& address, const QString& company, const database::Credentials& credentials)
        : connection(database::DatabaseAddress::parse(address), database::Access::ReadWrite, credentials),
          declaredCompany(company)
    {
        QSqlDatabase& database = connection.database();
        if (connection.engine() == database::Engine::SQLite) {
            execute(database, u"PRAGMA busy_timeout = 10000"_s);
            execute(database, u"PRAGMA synchronous = NORMAL"_s);
            // Each file runs under a savepoint and each insert of many rows under a statement journal: in memory,
            // they cost no write to a temporary file (half a million writes for an EFD of 100,000 lines otherwise).
            execute(database, u"PRAGMA temp_store = MEMORY"_s);
        }
        fiscal::runSqlScripts(database, {referenceScript()});
        types.emplace(connection);
        companies.emplace(connection);
        invoices.emplace(connection, *types);
        books.emplace(connection);
    }

    // The entries of the companies that wait for their booking: the issuer's CFOPs mirrored, no booking date.
    int entriesAwaitingBooking(const QStringList& companies)
    {
        int count = 0;
        for (const QString& company : companies) {
            QSqlQuery& query = connection.prepared(
                u"SELECT COUNT(*) FROM NOTAFISCAL WHERE CDEMPRESA = ? AND IDENTRSAIDOP = 'E' AND IDSITUACAO = 'N' "
                "AND DTESCRITURACAO IS NULL AND NRCHAVEACESSO IS NOT NULL"_s,
                {company});
            fiscal::execOrThrow(query);
            count += query.next() ? query.value(0).toInt() : 0;
        }
        return count;
    }
};

Importer::Importer(const QString& address, const QString& declaredCompany, const database::Credentials& credentials)
{
    const fiscal::InitOutcome outcome = fiscal::initDatabase(address, fiscal::InitData::SchemaOnly, credentials);
    m_opening.databaseCreated = outcome == fiscal::InitOutcome::Created;
    m_opening.databaseUpgraded = outcome == fiscal::InitOutcome::Upgraded;
    m_session = std::make_unique<Session>(address, declaredCompany, credentials);
}

Importer::~Importer() = default;

namespace {

// The order files are imported in: the EFDs create their companies, the XMLs find them, the events find their XMLs.
int orderOf(FileKind kind)
{
    switch (kind) {
    case FileKind::EfdIcmsIpi:
        return 0;
    case FileKind::EfdContribuicoes:
        return 1;
    case FileKind::Nfe:
        return 2;
    default:
        return 3;
    }
}

QByteArray readXml(QIODevice& device, qint64 size)
{
    if (size > maxXmlSize)
        throw RefusedFile(u"arquivo"_s, u"tem %1 bytes, mais que o limite de 10 MB de um XML de NF-e: é recusado por "
                                        "segurança"_s.arg(size));
    return device.read(maxXmlSize + 1);
}

class Batch {
public:
    explicit Batch(QSqlDatabase& database) : m_database(database) { begin(); }
    ~Batch()
    {
        if (m_open)
            m_database.rollback();
    }

    // Runs the import of one file under a savepoint: kept when it returns, dropped when it throws.
    template <class Work>
    void file(Work work)
    {
        if (m_files >= filesPerBatch || m_since.elapsed() >= batchMs) {
            commit();
            begin();
        }
        ++m_files;
        execute(m_database, u"SAVEPOINT arquivo"_s);
        try {
            work();
        } catch (...) {
            execute(m_database, u"ROLLBACK TO SAVEPOINT arquivo"_s);
            execute(m_database, u"RELEASE SAVEPOINT arquivo"_s);
            throw;
        }
        execute(m_database, u"RELEASE SAVEPOINT arquivo"_s);
    }

    void commit()
    {
        m_open = false;
        if (!m_database.commit())
            throw database::DatabaseError(
                u"Não foi possível gravar no banco de dados fiscal: %1"_s.arg(m_database.lastError().text()));
    }

private:
    void begin()
    {
        if (!m_database.transaction())
            throw database::DatabaseError(u"Não foi possível iniciar a transação no banco de dados fiscal: %1"_s.arg(
                m_database.lastError().text()));
        m_open = true;
        m_files = 0;
        m_since.start();
    }

    QSqlDatabase& m_database;
    bool m_open = false;
    int m_files = 0;
    QElapsedTimer m_since;
};

} // namespace

ImportSummary Importer::run(const QStringList& paths, ImportProgress& progress)
{
    ImportSummary summary = m_opening;
    ImportInputs collected = collectInputs(paths);
    summary.refused = collected.refused;
    QList<ImportInput>& inputs = collected.inputs;
    std::stable_sort(inputs.begin(), inputs.end(),
                     [](const auto& a, const auto& b) { return orderOf(a.kind) < orderOf(b.kind); });
    qint64 total = 0;
    for (const ImportInput& input : inputs)
        total += input.size;

    Session& session = *m_session;
    ImportContext context{*session.companies, *session.invoices, *session.books};
    QStringList companies;
    Batch batch(session.connection.database());
    qint64 done = 0;
    for (const ImportInput& input : inputs) {
        context.progress = [&](qint64 position) {
            if (!progress.step(input.name, done + position, total))
                throw ImportCancelled();
        };
        try {
            context.progress(0);
            context.tally = FileTally();
            bool ignored = false;
            batch.file([&] {
                const std::unique_ptr<QIODevice> device = input.open();
                try {
                    switch (input.kind) {
                    case FileKind::EfdIcmsIpi:
                        importEfdIcmsIpi(*device, context);
                        break;
                    case FileKind::EfdContribuicoes:
                        importEfdContribuicoes(*device, context);
                        break;
                    case FileKind::Nfe:
                        importNfe(readXml(*device, input.size), context, session.declaredCompany);
                        break;
                    default:
                        ignored = !importNfeEvent(readXml(*device, input.size), context);
                        break;
                    }
                } catch (const RefusedFile&) {
                    if (const QString failure = ZipArchive::failureOf(*device); !failure.isEmpty())
                        throw RefusedFile(u"arquivo"_s, failure);
                    throw;
                }
                if (const QString failure = ZipArchive::failureOf(*device); !failure.isEmpty())
                    throw RefusedFile(u"arquivo"_s, failure);
            });
            if (ignored)
                summary.ignored.append(u"%1: evento que não é de cancelamento"_s.arg(input.name));
            else
                summary.add(context.tally);
            for (const QString& company : context.tally.companies)
                if (!companies.contains(company))
                    companies.append(company);
        } catch (const RefusedFile& refusal) {
            summary.refused.append({input.name, refusal.where(), refusal.reason()});
        } catch (const ImportCancelled&) {
            summary.cancelled = true;
            break;
        }
        done += input.size;
    }
    batch.commit();
    summary.entriesAwaitingBooking = session.entriesAwaitingBooking(companies);
    return summary;
}

} // namespace fiscalimport
