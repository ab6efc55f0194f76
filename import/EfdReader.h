#pragma once

#include "Numbers.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QString>
#include <span>

class QIODevice;

namespace fiscalimport {

// The records of an EFD file, one per line ("|REG|field|...|"), read one at a time up to the closing |9999| record;
// what follows it (the signature a transmitted file carries) is not read. A line is read as UTF-8 when it is valid
// UTF-8, as ISO-8859-1 otherwise. Memory stays the same whatever the size of the file.
//
// Refuses (RefusedFile, naming the line) a line over 64 KiB, a line not in the record format, a record code that is
// not of the layout's blocks, a file that ends before |9999| or whose |9999| counts other lines, and a field read
// that is not of its type.
class EfdReader {
public:
    // blocks: the letters and digits that begin the layout's record codes ("0BCDEGHK19" for EFD ICMS/IPI); layout:
    // its name for messages.
    EfdReader(QIODevice& device, const QString& blocks, const QString& layout);

    // Reads the next record; false once |9999| has been read.
    bool next();

    int lineNumber() const { return m_lineNumber; }
    QByteArrayView record() const { return m_fields.first(); }
    bool is(const char* record) const { return m_fields.first() == record; }
    // How many fields the record has, REG included.
    qsizetype fieldCount() const { return m_fields.size(); }
    // How far into the device the reading is.
    qint64 position() const;

    // Checks every field of the record by its type, which its name in the layout tells (fields names, REG first):
    // VL_ an amount with at most two decimals, ALIQ_, QTD and QUANT_ a number, DT_ a date ddmmaaaa; the names are
    // kept for the messages of the getters below.
    void expect(std::span<const char* const> names);

    // Field number n of the record, as the layout numbers it (01 is REG); a field past the record's end is empty.
    QString text(int n) const;
    // A number with at most two decimals, in cents; 0 when empty.
    Cents amount(int n) const;
    // A number with at most eight decimals (rates, quantities); 0 when empty.
    double decimal(int n) const;
    // A date ddmmaaaa; the null date when empty.
    QDate date(int n) const;
    // The same, refused when empty.
    QString requiredText(int n) const;
    QDate requiredDate(int n) const;

    // Where the current line is, for a refusal: "linha 57".
    QString where() const;
    // Refuses field n of the current record for reason.
    [[noreturn]] void refuseField(int n, const QString& reason) const;

private:
    QByteArrayView field(int n) const;
    bool readLine();
    void split();
    void checkRecordCode() const;
    void checkLineCount() const;

    QIODevice& m_device;
    QString m_blocks;
    QString m_layout;
    QByteArray m_buffer;
    QByteArrayView m_line;
    QList<QByteArrayView> m_fields;
    std::span<const char* const> m_names;
    bool m_utf8 = false;
    int m_lineNumber = 0;
};

} // namespace fiscalimport
