#pragma once

#include "ReportDefinition.h"
#include "ReportLayout.h"
#include "ReportProgress.h"
#include "ReportRunner.h"
#include "TDBConnection.h"
#include "TParams.h"

#include <QDate>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

using namespace Qt::StringLiterals;

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

// Sales of company 01 by CFOP; one of them with a text a CSV must quote, one without value.
inline QStringList SalesTable()
{
    return {u"CREATE TABLE VENDA (CDEMPRESA TEXT, CDFISCOPER TEXT, NRNOTA TEXT, DTEMISSAO TEXT, "
            "DSPRODUTO TEXT, VRTOTAL REAL, QTITENS INTEGER)"_s,
            uR"(INSERT INTO VENDA VALUES
                ('01', '5102', '000010', '2025-03-02', 'Arroz tipo 1', 1234.56, 3),
                ('01', '5102', '000011', '2025-03-05', 'Feijão "carioca"; 1 kg', 100.4, 1),
                ('01', '5405', '000012', '2025-03-09', 'Óleo de soja', -10.5, 2),
                ('01', '6102', '000013', '2025-03-20', 'Café
torrado', NULL, 1),
                ('02', '5102', '000014', '2025-03-21', 'Outra empresa', 999, 9),
                ('01', '5102', '000015', '2025-04-01', 'Fora do período', 888, 8))"_s};
}

// The sales of a company in a period, by CFOP, with subtotals and totals; its header names the company's first
// sale.
inline QString SalesDefinition(const QString& detailSql = {})
{
    const QString sql = detailSql.isEmpty()
                            ? u"SELECT CDFISCOPER, NRNOTA, DTEMISSAO, DSPRODUTO, VRTOTAL, QTITENS FROM VENDA "
                              "WHERE CDEMPRESA = :P_EMPRESA AND DTEMISSAO BETWEEN :P_DTINICIO AND "
                              ":P_DTFINAL ORDER BY CDFISCOPER, NRNOTA"_s
                            : detailSql;
    return uR"({
      "code": "RLX582", "title": "Vendas por CFOP", "orientation": "portrait",
      "header": ["Empresa: {P_EMPRESA}, primeira nota {qryPrimeira.NRNOTA}", "Período: {P_DTINICIO} a {P_DTFINAL}"],
      "queries": [
        {"name": "qryPrimeira", "sql": ["SELECT MIN(NRNOTA) AS NRNOTA FROM VENDA WHERE CDEMPRESA = :P_EMPRESA"]},
        {"name": "qryVendas", "sql": [%1]}
      ],
      "detail": "qryVendas",
      "columns": [
        {"field": "CDFISCOPER", "caption": "CFOP", "width": 15, "align": "center", "format": "cfop"},
        {"field": "NRNOTA", "caption": "Número", "width": 20},
        {"field": "DTEMISSAO", "caption": "Emissão", "width": 22, "align": "center", "format": "date"},
        {"field": "DSPRODUTO", "caption": "Produto", "width": 60},
        {"field": "VRTOTAL", "caption": "Valor", "width": 30, "align": "right", "format": "amount"},
        {"field": "QTITENS", "caption": "Itens", "width": 15, "align": "right", "format": "integer"}
      ],
      "groups": [{"field": "CDFISCOPER", "caption": "CFOP", "format": "cfop", "subtotals": ["VRTOTAL", "QTITENS"]}],
      "totals": ["VRTOTAL", "QTITENS"]
    })"_s.arg(QString::fromUtf8(QJsonDocument(QJsonArray{sql}).toJson(QJsonDocument::Compact)).mid(1).chopped(1));
}

// A temporary database with the sales table and a folder for definitions and files.
class ReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const QString& statement : SalesTable())
            exec(statement);
    }

    void exec(const QString& sql)
    {
        QSqlQuery query(connection.Database());
        ASSERT_TRUE(query.exec(sql)) << qPrintable(query.lastError().text());
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    // The definition written to a file of that name, then read back.
    ReportDefinition definition(const QString& json, const QString& name = u"vendas.json"_s)
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(json.toUtf8());
        file.close();
        return ReportDefinition::fromFile(path(name));
    }

    // The sales of company 01 in March 2025 (or of the binding given), described as description says, laid out.
    std::shared_ptr<const ReportLayout> run(const ReportDefinition& report,
                                            ReportRunner::TBeforeGetQueryParams binding = {})
    {
        if (!binding)
            binding = [](TParams& params, bool&) {
                if (TParam* company = params.FindParam(u"P_EMPRESA"_s))
                    company->SetAsString(u"01"_s);
                if (TParam* start = params.FindParam(u"P_DTINICIO"_s))
                    start->SetAsVariant(QDate(2025, 3, 1));
                if (TParam* end = params.FindParam(u"P_DTFINAL"_s))
                    end->SetAsVariant(QDate(2025, 3, 31));
            };
        NoProgress progress;
        const ReportRunner runner(connection, binding, {});
        auto data = std::make_shared<ReportData>(runner.run(report, progress));
        data->description = description;
        return std::make_shared<ReportLayout>(std::move(data));
    }

    ReportDescription description;
    QTemporaryDir dir;
    // An empty file, which SQLite takes for a new database (the host opens no file that does not exist).
    TDBConnection connection{nullptr, u"relatorios"_s, [this] {
                                 QFile(dir.filePath(u"vendas.db"_s)).open(QIODevice::WriteOnly);
                                 return dir.filePath(u"vendas.db"_s);
                             }()};
};

// A progress that cancels at its step number cancelAt.
class CancelAt : public ReportProgress {
public:
    explicit CancelAt(int cancelAt) : m_cancelAt(cancelAt) {}
    bool step(const QString&, qint64, qint64) override { return ++m_steps != m_cancelAt; }

private:
    int m_cancelAt;
    int m_steps = 0;
};

// The texts of a page, in order, joined by "|".
inline QString TextsOf(const PageContent& page)
{
    QStringList texts;
    for (const PageItem& item : page)
        if (item.kind == PageItem::Kind::Text)
            texts.append(item.text);
    return texts.join(u'|');
}
