#include "ImportSummary.h"

#include "ImportContext.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace fiscalimport {

namespace {

QString outcomeText(DeclarationOutcome outcome)
{
    switch (outcome) {
    case DeclarationOutcome::New:
        return u"livros e mapas gravados"_s;
    case DeclarationOutcome::Replaced:
        return u"livros e mapas substituídos"_s;
    case DeclarationOutcome::Unchanged:
        return u"livros e mapas já estavam no banco, sem mudança"_s;
    case DeclarationOutcome::Conflict:
        break;
    }
    return u"recusado"_s;
}

} // namespace

void ImportSummary::add(const FileTally& tally)
{
    ++filesImported;
    for (auto document = tally.documents.begin(); document != tally.documents.end(); ++document)
        recordOutcome(documents, document.key(), document.value());
    cancellations += tally.cancellations;
    declarations += tally.declarations;
}

int ImportSummary::documentsThatAre(StoreOutcome outcome) const
{
    return int(std::count(documents.begin(), documents.end(), outcome));
}

QString ImportSummary::text() const
{
    QStringList lines;
    if (databaseCreated)
        lines.append(u"Banco de dados fiscal criado, sem dados de exemplo."_s);
    if (databaseUpgraded)
        lines.append(u"Banco de dados fiscal atualizado para a versão atual do esquema; os dados foram mantidos."_s);
    if (cancelled)
        lines.append(u"Importação cancelada: os arquivos terminados antes do cancelamento foram mantidos."_s);
    lines.append(u"Arquivos importados: %1."_s.arg(filesImported));
    lines.append(u"Documentos: %1 novos, %2 atualizados, %3 sem mudança."_s.arg(documentsThatAre(StoreOutcome::New))
                     .arg(documentsThatAre(StoreOutcome::Updated))
                     .arg(documentsThatAre(StoreOutcome::Unchanged)));
    lines.append(u"Cancelamentos: %1."_s.arg(cancellations));
    for (const auto& [period, outcome] : declarations)
        lines.append(u"%1: %2."_s.arg(period, outcomeText(outcome)));
    if (entriesAwaitingBooking > 0)
        lines.append(u"Entradas à espera de escrituração: %1 (com o CFOP do emitente espelhado até a EFD que as "
                     "escritura)."_s.arg(entriesAwaitingBooking));
    for (const QString& file : ignored)
        lines.append(u"Ignorado: %1."_s.arg(file));
    if (!refused.isEmpty())
        lines.append(u"Arquivos recusados: %1 (nada deles foi gravado)."_s.arg(refused.size()));
    for (const RefusedInput& input : refused)
        lines.append(input.where.isEmpty() ? u"  %1: %2."_s.arg(input.file, input.reason)
                                           : u"  %1, %2: %3."_s.arg(input.file, input.where, input.reason));
    return lines.join(u'\n');
}

} // namespace fiscalimport
