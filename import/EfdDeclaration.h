#pragma once

#include "BookStore.h"

namespace fiscalimport {

struct ImportContext;

// Stores what an EFD declares of its period and counts it in the context's tally under title ("EFD ICMS/IPI 12/2024,
// empresa 01, inscrição ..."). An original file on a period that holds another declaration is refused, naming its
// 0000 record and, in replacing, the field that makes a file a replacement. Throws RefusedFile, database::DatabaseError.
void storeDeclaration(ImportContext& context, const PeriodDeclaration& declaration, bool replacing,
                      const QString& title, const QString& replacingField);

} // namespace fiscalimport
