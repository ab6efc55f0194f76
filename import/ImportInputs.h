#pragma once

#include "FileKind.h"
#include "RefusedFile.h"

#include <QIODevice>
#include <QList>
#include <QStringList>
#include <functional>
#include <memory>

namespace fiscalimport {

// One file to import: a file on disk, or an entry of a .zip archive.
struct ImportInput {
    QString name; // the path; for an archive's entry, "ARCHIVE.zip:ENTRY"
    FileKind kind = FileKind::Unknown;
    qint64 size = 0;
    // Opens the content for reading. Throws RefusedFile.
    std::function<std::unique_ptr<QIODevice>()> open;
};

struct ImportInputs {
    QList<ImportInput> inputs;
    QList<RefusedInput> refused;
};

// The files paths name, each with its kind by its content: a file as it is, a folder's files (its subfolders' too)
// in name order, a .zip archive's files in the archive's order. Refused at once: a path that does not exist or cannot
// be read, a file of no kind the import reads, an archive beyond the limits of ZipArchive, an archive inside another.
ImportInputs collectInputs(const QStringList& paths);

} // namespace fiscalimport
