// The screen's values as the first page of a report tells them to the analyst, and the subject of its files.
#include "TfrmConFisc.h"

#include "ReportData.h"
#include "ReportFormat.h"
#include "Strings.h"
#include "TComboBox.h"
#include "TDateEditPlus.h"
#include "TEdit.h"
#include "TMaskEdit.h"
#include "TRadioButton.h"

using namespace Qt::StringLiterals;

namespace {

// A field of the screen as the parameter block tells it.
struct FieldLine {
    QString label;
    QStringList parameters; // where the binding writes its value
    bool chosen;            // enabled, and filled with a value that narrows the report
    QString value;          // as the analyst reads it
};

bool DeclaresAny(const QList<ReportParameter>& Params, const QStringList& names)
{
    return std::any_of(Params.begin(), Params.end(),
                       [&](const ReportParameter& param) { return names.contains(param.name, Qt::CaseInsensitive); });
}

bool Chosen(const QWidget* field, const QString& text) { return field->isEnabled() && !EmptyString(text); }

QString Either(const QString& text, const QString& blank) { return EmptyString(text) ? blank : text; }

QString CodeAndName(const QString& code, const QString& name)
{
    return EmptyString(name) ? code : code + u" - "_s + name;
}

// "55,65" as "55, 65"; no list: every one.
QString ListText(const QString& list)
{
    return EmptyString(list) ? u"todos"_s : list.split(u',', Qt::SkipEmptyParts).join(u", "_s);
}

} // namespace

// A field whose parameters some query declares is told with its value; a field the user filled but no query takes
// is told as not applied, so that nothing the screen shows is dropped in silence.
ReportDescription TfrmConFisc::rpddPadraoDescribeParams(const QList<ReportParameter>& Params)
{
    const QString company = Either(CodeAndName(medEmpresa->text(), edtNmEmpresa->text()), u"não informada"_s);
    const QString registrationLabel = RegistrationKind() == TRegistrationKind::State       ? u"Inscrição estadual"_s
                                      : RegistrationKind() == TRegistrationKind::Municipal ? u"Inscrição municipal"_s
                                                                                           : u"Inscrição"_s;
    const QString period = u"%1 a %2"_s.arg(cellText(depInicial->GetDate(), ColumnFormat::Date),
                                            cellText(depFinal->GetDate(), ColumnFormat::Date));
    const int direction = cbbEntrSaid->itemIndex();
    const QList<FieldLine> fields = {
        {u"Imposto"_s,
         {u"P_CDIMPOSTO"_s},
         Chosen(medImposto, medImposto->text()),
         Either(CodeAndName(medImposto->text(), edtNmImposto->text()), u"não informado"_s)},
        {u"Livro"_s,
         {u"P_CDLIVROMAG"_s},
         Chosen(medLivro, medLivro->text()),
         Either(CodeAndName(medLivro->text(), edtNmLivro->text()), u"não informado"_s)},
        {u"Empresa"_s, {u"P_EMPRESA"_s}, Chosen(medEmpresa, medEmpresa->text()), company},
        {registrationLabel,
         {u"P_CDINSCESTA"_s, u"P_CDINSCMUNI"_s},
         Chosen(edtInscricao, edtInscricao->text()),
         Either(edtInscricao->text(), u"não informada"_s)},
        {u"Entrada/Saída"_s,
         {u"P_IDENTRSAIDOP"_s},
         cbbEntrSaid->isEnabled() && (direction == 0 || direction == 1),
         Either(cbbEntrSaid->currentText(), u"não informada"_s)},
        {u"Período"_s, {u"P_DTINICIO"_s, u"P_DTFINAL"_s}, Chosen(depInicial, depInicial->text()), period},
        {u"CFOP"_s,
         {u"P_CDFISCOPERIT"_s},
         Chosen(medCfop, medCfop->text()),
         Either(cellText(medCfop->text(), ColumnFormat::Cfop), u"todos"_s)},
        {u"CST"_s, {u"P_CDSITUTRIBIT"_s}, Chosen(medCst, medCst->text()), Either(medCst->text(), u"todos"_s)},
        {u"Modelos"_s,
         {u"P_CDMODDOCFISC"_s, u"P_TCDMODDOCFISC"_s},
         Chosen(rdbListaMod, stListaMod),
         ListText(stListaMod)},
        {u"Tipos de operação"_s,
         {u"P_CDTIPOOPER"_s, u"P_TCDTIPOOPER"_s},
         Chosen(rdbListaTp, stListaTp),
         ListText(stListaTp)},
    };
    ReportDescription description;
    for (const FieldLine& field : fields)
        if (DeclaresAny(Params, field.parameters))
            description.parameterLines.append(field.label + u": "_s + field.value);
        else if (field.chosen)
            description.parameterLines.append(field.label + u": não se aplica a este relatório"_s);
    if (!EmptyString(medEmpresa->text()))
        description.subject = company;
    return description;
}
