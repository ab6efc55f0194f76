#pragma once

#include "Numbers.h"

#include <QChar>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace database {
class ScopedConnection;
}
namespace fiscalimport {

// The codes of the books an EFD writes (LIVROMAG).
namespace book {
inline const QString entries = QStringLiteral("0000000001");
inline const QString exits = QStringLiteral("0000000002");
inline const QString pisCofins = QStringLiteral("0000000010");
} // namespace book

// One line of a book's totals (TOTALLIVRO).
struct BookLine {
    QString book;
    QString tax;
    QString cfop; // empty for a line per situation code and rate
    QString cst;  // empty for a line per CFOP
    double rate = 0;
    Cents accounting = 0;
    Cents base = 0;
    Cents amount = 0;
    Cents exempt = 0;
    Cents other = 0;
};

// The totals of an apportionment map (MAPAAPUR).
struct MapTotals {
    Cents debits = 0;          // VRDEBITOSAIDAS
    Cents otherDebits = 0;     // VROUTROSDEBITOS
    Cents creditReversals = 0; // VRESTORNOCREDITOS
    Cents credits = 0;         // VRCREDITOENTRADAS
    Cents otherCredits = 0;    // VROUTROSCREDITOS
    Cents debitReversals = 0;  // VRESTORNODEBITOS
    Cents previousBalance = 0; // VRSALDOCREDORANT
    Cents deductions = 0;      // VRDEDUCOES
    Cents payable = 0;         // VRIMPOSTORECOLHER
    Cents carriedBalance = 0;  // VRSALDOCREDORTRANSP

    bool operator==(const MapTotals&) const = default;
};

// An adjustment of a map (AJUSTEAPUR): 'D' adds to the debits, 'C' to the credits.
struct Adjustment {
    QString code;
    QString description;
    QChar type;
    Cents value = 0;

    bool operator==(const Adjustment&) const = default;
};

struct TaxMap {
    QString tax;
    QString registration; // empty for a federal tax
    QDate start;
    QDate end;
    MapTotals totals;
    QList<Adjustment> adjustments;
};

// What one EFD declares of its company and period: every line of its books and its closed maps.
struct PeriodDeclaration {
    QString company;
    QString registration; // of the books' lines; empty for the PIS/COFINS book
    QDate start;
    QDate end;
    QStringList books;
    QList<BookLine> lines;
    QList<TaxMap> maps;
};

enum class DeclarationOutcome {
    New,       // nothing was declared of the period
    Replaced,  // another declaration of the period was there, and the file replaces it
    Unchanged, // the same declaration was there
    Conflict,  // another declaration of the period is there, and the file does not say it replaces it
};

// The book totals and maps of the fiscal database (TOTALLIVRO, MAPAAPUR, AJUSTEAPUR). Throws database::DatabaseError.
class BookStore {
public:
    explicit BookStore(database::ScopedConnection& connection);

    // Writes the declaration of a period: its book lines replace every line of its books, its maps are closed with its
    // totals and adjustments (a map of the period that is there, open, takes them). A period that already holds a
    // different declaration (book lines, or a closed map) is only written when replacing; Conflict otherwise, and
    // nothing is written.
    DeclarationOutcome store(const PeriodDeclaration& declaration, bool replacing);

private:
    struct StoredMap;
    QList<BookLine> linesOf(const PeriodDeclaration& declaration);
    std::optional<StoredMap> mapOf(const QString& company, const TaxMap& map);
    void writeMap(const QString& company, const TaxMap& map, const std::optional<StoredMap>& stored);

    database::ScopedConnection& m_connection;
};

} // namespace fiscalimport
