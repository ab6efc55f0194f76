#include "ImportContext.h"

#include <algorithm>

namespace fiscalimport {

StoreOutcome mostChanged(StoreOutcome a, StoreOutcome b) { return std::min(a, b); }

void FileTally::count(const Stored& document)
{
    const auto known = documents.constFind(document.id);
    documents.insert(document.id,
                     known == documents.constEnd() ? document.outcome : mostChanged(*known, document.outcome));
}

void FileTally::count(const QString& company)
{
    if (!companies.contains(company))
        companies.append(company);
}

} // namespace fiscalimport
