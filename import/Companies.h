#pragma once

#include <QString>
#include <optional>

namespace database {
class ScopedConnection;
}
namespace fiscalimport {

struct Company {
    QString code;
    QString cnpj;
    QString uf;
};

// The companies of the fiscal database (EMPRESA) and their state registrations (INSCRESTAD). Throws database::DatabaseError.
class Companies {
public:
    explicit Companies(database::ScopedConnection& connection);

    std::optional<Company> find(const QString& cnpj);
    // The company of cnpj, created when absent under the next free code with its name and UF.
    Company findOrCreate(const QString& cnpj, const QString& name, const QString& uf);
    // Adds the state registration to the company when it does not have it.
    void addRegistration(const Company& company, const QString& registration, const QString& uf);
    // The company's first state registration in code order, or the empty text when it has none.
    QString firstRegistration(const Company& company);

private:
    database::ScopedConnection& m_connection;
};

} // namespace fiscalimport
