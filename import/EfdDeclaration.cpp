#include "EfdDeclaration.h"

#include "ImportContext.h"
#include "RefusedFile.h"

using namespace Qt::StringLiterals;

namespace fiscalimport {

void storeDeclaration(ImportContext& context, const PeriodDeclaration& declaration, bool replacing,
                      const QString& title, const QString& replacingField)
{
    const DeclarationOutcome outcome = context.books.store(declaration, replacing);
    if (outcome == DeclarationOutcome::Conflict)
        throw RefusedFile(u"linha 1"_s,
                          u"o banco de dados já tem outra escrituração de %1: um arquivo original não a substitui; "
                          "para substituí-la, importe o arquivo retificador (%2)"_s.arg(title, replacingField));
    context.tally.declarations.append({title, outcome});
}

} // namespace fiscalimport
