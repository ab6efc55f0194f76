#pragma once

#include <QProcess>
#include <QString>

// The text of a PDF file as pdftotext reads it.
inline QString PdfText(const QString& fileName)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {fileName, QStringLiteral("-")});
    pdftotext.waitForFinished(30000);
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}
