#pragma once

// The GIA listing's data for the benchmarks: a year of invoices of company 01, and the listing's arguments.
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>

namespace bench {

constexpr int documents = 100000;

// One year of invoices of company 01, one item each, with ICMS and, on every third, IPI (SQLite statements).
QStringList generatedInvoices();

// getDadosGia's arguments for that year, with the two list arguments last.
QVariantList giaArguments();

// Runs the prepared query and reads every row.
QList<QVariantList> readAll(QSqlQuery& query);

} // namespace bench
