#include "ImportInputs.h"

#include "ZipArchive.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace fiscalimport {

namespace {

constexpr qint64 headSize = 4096;

const QString unknownKind = u"o conteúdo não é de NF-e ou NFC-e, de evento de NF-e, de EFD ICMS/IPI nem de "
                            "EFD-Contribuições"_s;

std::unique_ptr<QIODevice> openFile(const QString& path)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        throw RefusedFile(u"arquivo"_s, u"não foi possível lê-lo (%1)"_s.arg(file->errorString()));
    return file;
}

class Collector {
public:
    ImportInputs result;

    void addPath(const QString& path)
    {
        const QFileInfo info(path);
        if (!info.exists()) {
            result.refused.append({path, QString(), u"o caminho não existe"_s});
        } else if (info.isDir()) {
            QStringList files;
            for (QDirIterator it(path, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
                files.append(it.next());
            files.sort();
            for (const QString& file : files)
                addFile(file);
        } else {
            addFile(path);
        }
    }

private:
    void addFile(const QString& path)
    {
        try {
            const FileKind kind = kindOf(openFile(path)->read(headSize));
            if (kind == FileKind::Zip)
                addArchive(path);
            else if (kind == FileKind::Unknown)
                result.refused.append({path, QString(), unknownKind});
            else
                result.inputs.append({path, kind, QFileInfo(path).size(), [path] { return openFile(path); }});
        } catch (const RefusedFile& refusal) {
            result.refused.append({path, refusal.where(), refusal.reason()});
        }
    }

    void addArchive(const QString& path)
    {
        const std::shared_ptr<ZipArchive> archive = ZipArchive::open(path);
        for (const ZipArchive::Entry& entry : archive->entries()) {
            const QString name = path + u':' + entry.name;
            try {
                const FileKind kind = kindOf(archive->openEntry(entry)->read(headSize));
                if (kind == FileKind::Zip)
                    result.refused.append({name, QString(), u"um arquivo .zip dentro de outro não é lido"_s});
                else if (kind == FileKind::Unknown)
                    result.refused.append({name, QString(), unknownKind});
                else
                    result.inputs.append(
                        {name, kind, entry.size, [archive, entry] { return archive->openEntry(entry); }});
            } catch (const RefusedFile& refusal) {
                result.refused.append({name, refusal.where(), refusal.reason()});
            }
        }
    }
};

} // namespace

ImportInputs collectInputs(const QStringList& paths)
{
    Collector collector;
    for (const QString& path : paths)
        collector.addPath(path);
    return collector.result;
}

} // namespace fiscalimport
