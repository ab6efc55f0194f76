#include "Companies.h"
#include "EfdDeclaration.h"
#include "EfdDocuments.h"
#include "EfdImport.h"
#include "EfdReader.h"
#include "ImportContext.h"
#include "RefusedFile.h"

using namespace Qt::StringLiterals;

namespace fiscalimport {

namespace {

constexpr const char* openingFields[] = {"REG",     "COD_VER", "TIPO_ESCRIT", "IND_SIT_ESP", "NUM_REC_ANTERIOR",
                                         "DT_INI",  "DT_FIN",  "NOME",        "CNPJ",        "UF",
                                         "COD_MUN", "SUFRAMA", "IND_NAT_PJ",  "IND_ATIV"};
constexpr const char* establishmentFields[] = {"REG", "CNPJ", "IND_ESCRI"};
constexpr const char* consolidationFields[] = {"REG",
                                               "VL_TOT_CONT_NC_PER",
                                               "VL_TOT_CRED_DESC",
                                               "VL_TOT_CRED_DESC_ANT",
                                               "VL_TOT_CONT_NC_DEV",
                                               "VL_RET_NC",
                                               "VL_OUT_DED_NC",
                                               "VL_CONT_NC_REC",
                                               "VL_TOT_CONT_CUM_PER",
                                               "VL_RET_CUM",
                                               "VL_OUT_DED_CUM",
                                               "VL_CONT_CUM_REC",
                                               "VL_TOT_CONT_REC"};
// M210 and M610 before 2019, and since (three fields on the adjustments of the base inserted after VL_BC_CONT).
constexpr const char* detailFields[] = {"REG",           "COD_CONT",      "VL_REC_BRT",    "VL_BC_CONT",
                                        "ALIQ",          "QUANT_BC",      "ALIQ_QUANT",    "VL_CONT_APUR",
                                        "VL_AJUS_ACRES", "VL_AJUS_REDUC", "VL_CONT_DIFER", "VL_CONT_DIFER_ANT",
                                        "VL_CONT_PER"};
constexpr const char* adjustedDetailFields[] = {"REG",
                                                "COD_CONT",
                                                "VL_REC_BRT",
                                                "VL_BC_CONT",
                                                "VL_AJUS_ACRES_BC",
                                                "VL_AJUS_REDUC_BC",
                                                "VL_BC_CONT_AJUS",
                                                "ALIQ",
                                                "QUANT_BC",
                                                "ALIQ_QUANT",
                                                "VL_CONT_APUR",
                                                "VL_AJUS_ACRES",
                                                "VL_AJUS_REDUC",
                                                "VL_CONT_DIFER",
                                                "VL_CONT_DIFER_ANT",
                                                "VL_CONT_PER"};

class ContribuicoesFile {
public:
    ContribuicoesFile(QIODevice& device, ImportContext& context)
        : m_reader(device, u"0ACDFIMP19"_s, u"EFD-Contribuições"_s), m_context(context),
          m_documents(context, m_registers, EfdDocuments::Book::PisCofins)
    {}

    void import()
    {
        readOpening();
        while (m_reader.next()) {
            if (m_reader.lineNumber() % 4096 == 0)
                m_context.progress(m_reader.position());
            if (!m_documents.read(m_reader) && !m_registers.read(m_reader))
                readRecord();
        }
        m_documents.finish();
        const QString title = u"EFD-Contribuições %1, empresa %2"_s.arg(m_start.toString(u"MM/yyyy"_s), m_company.code);
        storeDeclaration(
            m_context, {m_company.code, QString(), m_start, m_end, {book::pisCofins}, m_documents.bookLines(), m_maps},
            m_replacing, title, u"campo TIPO_ESCRIT do registro 0000 igual a 1"_s);
    }

private:
    void readOpening()
    {
        if (!m_reader.next() || !m_reader.is("0000"))
            throw RefusedFile(m_reader.where(), u"o arquivo não começa pelo registro 0000"_s);
        m_reader.expect(openingFields);
        m_start = m_reader.requiredDate(6);
        m_end = m_reader.requiredDate(7);
        m_replacing = m_reader.text(3) == u"1";
        m_uf = m_reader.requiredText(10);
        m_company = m_context.companies.findOrCreate(m_reader.requiredText(9), m_reader.requiredText(8), m_uf);
        setEstablishment(m_company);
    }

    // The documents of an establishment go to the company of its CNPJ, or to the file's company when it has none.
    void setEstablishment(const Company& company)
    {
        m_documents.setPeriod({company.code, m_uf, m_context.companies.firstRegistration(company), m_start, m_end});
    }

    void readRecord()
    {
        if (m_reader.is("C010")) {
            m_reader.expect(establishmentFields);
            setEstablishment(m_context.companies.find(m_reader.requiredText(2)).value_or(m_company));
        } else if (m_reader.is("M200") || m_reader.is("M600")) {
            m_reader.expect(consolidationFields);
            m_current = int(m_maps.size());
            m_maps.append({m_reader.is("M200") ? tax::pis : tax::cofins, QString(), m_start, m_end, consolidated()});
        } else if ((m_reader.is("M210") || m_reader.is("M610")) && m_current >= 0) {
            addDetail(m_maps[m_current]);
        }
    }

    MapTotals consolidated() const
    {
        const EfdReader& r = m_reader;
        MapTotals totals;
        totals.credits = r.amount(3);
        totals.previousBalance = r.amount(4);
        totals.deductions = r.amount(6) + r.amount(7) + r.amount(10) + r.amount(11);
        totals.payable = r.amount(13);
        return totals;
    }

    // The contribution of a code and rate: what the revenue gives, adjustments added or taken away, and what is
    // deferred to a later period or comes due from an earlier one.
    void addDetail(TaxMap& map)
    {
        const int shift = m_reader.fieldCount() >= 16 ? 3 : 0;
        if (shift)
            m_reader.expect(adjustedDetailFields);
        else
            m_reader.expect(detailFields);
        const QString code = m_reader.requiredText(2);
        const Cents added = m_reader.amount(9 + shift);
        const Cents reduced = m_reader.amount(10 + shift);
        map.totals.debits += m_reader.amount(8 + shift);
        map.totals.otherDebits += added + m_reader.amount(12 + shift);
        map.totals.debitReversals += reduced + m_reader.amount(11 + shift);
        const QString rate = QString::number(m_reader.decimal(5 + shift)).replace(u'.', u',');
        if (added != 0)
            map.adjustments.append(
                {code, u"Acréscimo na contribuição %1 (alíquota %2%)"_s.arg(code, rate), u'D', added});
        if (reduced != 0)
            map.adjustments.append(
                {code, u"Redução na contribuição %1 (alíquota %2%)"_s.arg(code, rate), u'C', reduced});
    }

    EfdReader m_reader;
    ImportContext& m_context;
    EfdRegisters m_registers;
    EfdDocuments m_documents;
    Company m_company;
    QString m_uf;
    QDate m_start;
    QDate m_end;
    bool m_replacing = false;
    QList<TaxMap> m_maps;
    int m_current = -1;
};

} // namespace

void importEfdContribuicoes(QIODevice& device, ImportContext& context) { ContribuicoesFile(device, context).import(); }

} // namespace fiscalimport
