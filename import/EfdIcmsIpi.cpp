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

constexpr const char* openingFields[] = {"REG",     "COD_VER", "COD_FIN", "DT_INI",     "DT_FIN",
                                         "NOME",    "CNPJ",    "CPF",     "UF",         "IE",
                                         "COD_MUN", "IM",      "SUFRAMA", "IND_PERFIL", "IND_ATIV"};
constexpr const char* stRegistrationFields[] = {"REG", "UF_ST", "IE_ST"};
constexpr const char* icmsFields[] = {"REG",
                                      "VL_TOT_DEBITOS",
                                      "VL_AJ_DEBITOS",
                                      "VL_TOT_AJ_DEBITOS",
                                      "VL_ESTORNOS_CRED",
                                      "VL_TOT_CREDITOS",
                                      "VL_AJ_CREDITOS",
                                      "VL_TOT_AJ_CREDITOS",
                                      "VL_ESTORNOS_DEB",
                                      "VL_SLD_CREDOR_ANT",
                                      "VL_SLD_APURADO",
                                      "VL_TOT_DED",
                                      "VL_ICMS_RECOLHER",
                                      "VL_SLD_CREDOR_TRANSPORTAR",
                                      "DEB_ESP"};
constexpr const char* adjustmentFields[] = {"REG", "COD_AJ_APUR", "DESCR_COMPL_AJ", "VL_AJ_APUR"};
constexpr const char* stPeriodFields[] = {"REG", "UF", "DT_INI", "DT_FIN"};
constexpr const char* stFields[] = {"REG",
                                    "IND_MOV_ST",
                                    "VL_SLD_CRED_ANT_ST",
                                    "VL_DEVOL_ST",
                                    "VL_RESSARC_ST",
                                    "VL_OUT_CRED_ST",
                                    "VL_AJ_CREDITOS_ST",
                                    "VL_RETENCAO_ST",
                                    "VL_OUT_DEB_ST",
                                    "VL_AJ_DEBITOS_ST",
                                    "VL_SLD_DEV_ANT_ST",
                                    "VL_DEDUCOES_ST",
                                    "VL_ICMS_RECOL_ST",
                                    "VL_SLD_CRED_ST_TRANSPORTAR",
                                    "DEB_ESP_ST"};
constexpr const char* ipiPeriodFields[] = {"REG", "IND_APUR", "DT_INI", "DT_FIN"};
constexpr const char* ipiFields[] = {"REG",       "VL_SD_ANT_IPI", "VL_DEB_IPI", "VL_CRED_IPI",
                                     "VL_OD_IPI", "VL_OC_IPI",     "VL_SC_IPI",  "VL_SD_IPI"};

class IcmsIpiFile {
public:
    IcmsIpiFile(QIODevice& device, ImportContext& context)
        : m_reader(device, u"0BCDEGHK19"_s, u"EFD ICMS/IPI"_s), m_context(context),
          m_documents(context, m_registers, EfdDocuments::Book::IcmsIpi)
    {}

    void import()
    {
        readOpening();
        while (m_reader.next()) {
            if (m_reader.lineNumber() % 4096 == 0)
                m_context.progress(m_reader.position());
            if (!m_documents.read(m_reader) && !m_registers.read(m_reader))
                readMaps();
        }
        m_documents.finish();
        const QString title = u"EFD ICMS/IPI %1, empresa %2, inscrição %3"_s.arg(m_start.toString(u"MM/yyyy"_s),
                                                                                 m_company.code, m_registration);
        storeDeclaration(m_context,
                         {m_company.code,
                          m_registration,
                          m_start,
                          m_end,
                          {book::entries, book::exits},
                          m_documents.bookLines(),
                          m_maps},
                         m_replacing, title, u"campo COD_FIN do registro 0000 igual a 1"_s);
    }

private:
    void readOpening()
    {
        if (!m_reader.next() || !m_reader.is("0000"))
            throw RefusedFile(m_reader.where(), u"o arquivo não começa pelo registro 0000"_s);
        m_reader.expect(openingFields);
        m_start = m_reader.requiredDate(4);
        m_end = m_reader.requiredDate(5);
        const QString cnpj = m_reader.text(7);
        if (cnpj.isEmpty())
            m_reader.refuseField(7, u"só a escrituração de uma pessoa jurídica (CNPJ) é importada"_s);
        m_uf = m_reader.requiredText(9);
        m_registration = m_reader.requiredText(10);
        m_replacing = m_reader.text(3) == u"1";
        m_company = m_context.companies.findOrCreate(cnpj, m_reader.requiredText(6), m_uf);
        m_context.companies.addRegistration(m_company, m_registration, m_uf);
        m_documents.setPeriod({m_company.code, m_uf, m_registration, m_start, m_end});
    }

    void readMaps()
    {
        if (m_reader.is("0015")) {
            m_reader.expect(stRegistrationFields);
            m_stRegistrations.insert(m_reader.requiredText(2), m_reader.requiredText(3));
        } else if (m_reader.is("E110")) {
            m_reader.expect(icmsFields);
            m_icmsMap = int(m_maps.size());
            m_maps.append({tax::icms, m_registration, m_start, m_end, icmsTotals()});
        } else if (m_reader.is("E111") && m_icmsMap >= 0) {
            m_maps[m_icmsMap].adjustments.append(adjustment());
        } else if (m_reader.is("E200")) {
            m_reader.expect(stPeriodFields);
            m_stPeriod = {tax::icmsSt, stRegistration(), m_reader.requiredDate(3), m_reader.requiredDate(4)};
        } else if (m_reader.is("E210")) {
            m_reader.expect(stFields);
            m_stPeriod.totals = stTotals();
            m_maps.append(m_stPeriod);
        } else if (m_reader.is("E500")) {
            m_reader.expect(ipiPeriodFields);
            m_ipiPeriod = {tax::ipi, QString(), m_reader.requiredDate(3), m_reader.requiredDate(4)};
        } else if (m_reader.is("E520")) {
            m_reader.expect(ipiFields);
            m_ipiPeriod.totals = ipiTotals();
            m_maps.append(m_ipiPeriod);
        }
    }

    MapTotals icmsTotals() const
    {
        const EfdReader& r = m_reader;
        MapTotals totals;
        totals.debits = r.amount(2);
        totals.otherDebits = r.amount(3) + r.amount(4);
        totals.creditReversals = r.amount(5);
        totals.credits = r.amount(6);
        totals.otherCredits = r.amount(7) + r.amount(8);
        totals.debitReversals = r.amount(9);
        totals.previousBalance = r.amount(10);
        totals.deductions = r.amount(12);
        totals.payable = r.amount(13);
        totals.carriedBalance = r.amount(14);
        return totals;
    }

    // An adjustment code's fourth character says what it adjusts: 0 other debits, 1 reversal of credits, 5 special
    // debits add to the debits; 2 other credits, 3 reversal of debits, 4 deductions to the credits.
    Adjustment adjustment()
    {
        m_reader.expect(adjustmentFields);
        const QString code = m_reader.requiredText(2);
        const QChar kind = code.size() == 8 ? code[3] : QChar();
        if (!QStringView(u"012345").contains(kind) || kind.isNull())
            m_reader.refuseField(2, u"\"%1\" não é um código de ajuste da apuração (oito caracteres)"_s.arg(code));
        const QString description = m_reader.text(3);
        return {code, (description.isEmpty() ? u"Ajuste "_s + code : description).left(100),
                QStringView(u"015").contains(kind) ? u'D' : u'C', m_reader.amount(4)};
    }

    // The registration an ICMS ST map of a UF is kept under: the company's own in its UF, that of 0015 in another.
    QString stRegistration()
    {
        const QString uf = m_reader.requiredText(2);
        if (uf == m_uf)
            return m_registration;
        if (!m_stRegistrations.contains(uf))
            m_reader.refuseField(2, u"a UF %1 não tem inscrição de substituto no registro 0015"_s.arg(uf));
        return m_stRegistrations.value(uf);
    }

    MapTotals stTotals() const
    {
        const EfdReader& r = m_reader;
        MapTotals totals;
        totals.previousBalance = r.amount(3);
        totals.credits = r.amount(4) + r.amount(5);
        totals.otherCredits = r.amount(6) + r.amount(7);
        totals.debits = r.amount(8);
        totals.otherDebits = r.amount(9) + r.amount(10);
        totals.deductions = r.amount(12);
        totals.payable = r.amount(13);
        totals.carriedBalance = r.amount(14);
        return totals;
    }

    MapTotals ipiTotals() const
    {
        const EfdReader& r = m_reader;
        MapTotals totals;
        totals.previousBalance = r.amount(2);
        totals.debits = r.amount(3);
        totals.credits = r.amount(4);
        totals.otherDebits = r.amount(5);
        totals.otherCredits = r.amount(6);
        totals.carriedBalance = r.amount(7);
        totals.payable = r.amount(8);
        return totals;
    }

    EfdReader m_reader;
    ImportContext& m_context;
    EfdRegisters m_registers;
    EfdDocuments m_documents;
    Company m_company;
    QString m_uf;
    QString m_registration;
    QDate m_start;
    QDate m_end;
    bool m_replacing = false;
    QHash<QString, QString> m_stRegistrations;
    QList<TaxMap> m_maps;
    int m_icmsMap = -1;
    TaxMap m_stPeriod;
    TaxMap m_ipiPeriod;
};

} // namespace

void importEfdIcmsIpi(QIODevice& device, ImportContext& context) { IcmsIpiFile(device, context).import(); }

} // namespace fiscalimport
