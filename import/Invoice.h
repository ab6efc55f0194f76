#pragma once

#include "Numbers.h"

#include <QDate>
#include <QList>
#include <QString>

namespace fiscalimport {

// The codes of the taxes in IMPOSTONFE.
namespace tax {
inline const QString icms = QStringLiteral("01");
inline const QString icmsSt = QStringLiteral("02");
inline const QString ipi = QStringLiteral("03");
inline const QString pis = QStringLiteral("04");
inline const QString cofins = QStringLiteral("05");
inline const QString iss = QStringLiteral("06");
} // namespace tax

// One tax of an item, as ITEMNFIMPOSTO keeps it.
struct ItemTax {
    QString tax; // tax::icms ...
    QString cst; // situation code: origin and CST for ICMS ("000"), the CSOSN for a Simples issuer ("102")
    Cents base = 0;
    double rate = 0; // percent
    Cents amount = 0;
    Cents exempt = 0;
    Cents other = 0;
};

struct InvoiceItem {
    int number = 0;
    QString description;
    QString cfop;
    double quantity = 0;
    double unitPrice = 0;
    Cents total = 0;
    Cents discount = 0;
    Cents accountingValue = 0; // total - discount + freight + insurance + other expenses + IPI + ICMS ST
    QList<ItemTax> taxes;
};

// Who issued or received an invoice.
struct Party {
    QString cnpj; // a CNPJ, or a CPF; empty for a consumer not named
    QString name;
    QString uf;
    QString registration; // state registration, empty when none
};

// An invoice as it happened: what its XML says, or what a book says of an invoice whose XML never came.
struct Invoice {
    QString key; // the 44-digit access key; empty for a document without one
    QString model;
    QString series;
    QString number;
    QDate issued;
    QDate moved;      // the date of entry or exit
    bool exit = true; // issued as an exit (tpNF 1) or as an entry (tpNF 0)
    Party issuer;
    Party recipient;
    Cents total = 0;
    QList<InvoiceItem> items;
};

// How an ICMS tax row's code reads: a CST (origin and situation, or the situation alone), or a Simples issuer's CSOSN.
enum class IcmsCode { Cst, Csosn };

// Splits what an operation's ICMS base leaves out (its value less base, IPI and ICMS ST, never below zero) into the
// tax row's exempt and other amounts: "isentas ou não tributadas" when its code says the operation is exempt, not
// taxed or taxed on a reduced base (CST 20, 30, 40, 41; CSOSN 103, 300, 400), "outras" otherwise.
void splitExemptAndOther(ItemTax& icms, Cents leftOut, IcmsCode code = IcmsCode::Cst);

} // namespace fiscalimport
