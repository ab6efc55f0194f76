#pragma once

#include <QString>

using namespace Qt::StringLiterals;

// INSERT statements for TestServer fixtures: the rows each test needs, and nothing else.
namespace fixture {

QString tax(const QString& code, const QString& abbreviation, const QString& indicator);
QString book(const QString& code, const QString& name, const QString& tax);
QString map(const QString& company, const QString& registration, const QString& tax, const QString& name,
            const QString& start, const QString& end);

struct Invoice {
    int seq;
    QString company;
    QString registration;
    QString direction; // "E" or "S"
    QString type;      // operation type code
    QString model;
    QString number;
    QString date; // entry/exit date; issued the day before
    QString status = u"N"_s;
};
QString invoice(const Invoice& invoice);
QString item(int seq, int item, const QString& cfop, double accountingValue);
QString itemTax(int seq, int item, const QString& tax, double base, double value, double exempt = 0, double other = 0);

} // namespace fixture
