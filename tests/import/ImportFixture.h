#pragma once

#include "SqlRows.h"
#include "TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

inline QString sampleFiles() { return QString::fromUtf8(FISCAL_SOURCE_DIR "/data/import-sample"); }

inline QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(content);
}

struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs build/bin/fiscal-import with arguments.
inline ProgramRun fiscalImport(const QStringList& arguments)
{
    QProcess program;
    program.start(QString::fromUtf8(FISCAL_IMPORT_BIN), arguments);
    if (!program.waitForFinished(120000))
        return {-1, {}, u"still running after two minutes"_s};
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromUtf8(program.readAllStandardOutput()), QString::fromUtf8(program.readAllStandardError())};
}

// Every row of the tables an import writes, to tell that an import changed nothing.
inline QStringList fiscalRows(const QString& address)
{
    QStringList rows;
    for (const QString& table : {u"EMPRESA"_s, u"INSCRESTAD"_s, u"NOTAFISCAL"_s, u"ITEMNOTAFISCAL"_s,
                                 u"ITEMNFIMPOSTO"_s, u"TOTALLIVRO"_s, u"MAPAAPUR"_s, u"AJUSTEAPUR"_s})
        rows += sqlRows(address, u"SELECT '%1', T.* FROM %1 T ORDER BY 2, 3, 4"_s.arg(table));
    return rows;
}
