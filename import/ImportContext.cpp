#include "ImportContext.h"

#include <algorithm>

namespace fiscalimport {

void recordOutcome(QHash<qint64, StoreOutcome>& outcomes, qint64 id, StoreOutcome outcome)
{
    const auto known = outcomes.constFind(id);
    outcomes.insert(id, known == outcomes.constEnd() ? outcome : std::min(*known, outcome));
}

void FileTally::count(const Stored& document) { recordOutcome(documents, document.id, document.outcome); }

void FileTally::addCompany(const QString& company)
{
    if (!companies.contains(company))
        companies.append(company);
}

} // namespace fiscalimport
