#include "ZipArchive.h"

#include "RefusedFile.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <zip.h>

using namespace Qt::StringLiterals;

namespace fiscalimport {

namespace {

class ZipEntryDevice : public QIODevice {
public:
    ZipEntryDevice(zip_file_t* file, qint64 size) : m_file(file), m_size(size) { QIODevice::open(ReadOnly); }
    ~ZipEntryDevice() override { zip_fclose(m_file); }
    bool isSequential() const override { return true; }
    const QString& failure() const { return m_failure; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (!m_failure.isEmpty())
            return -1;
        if (m_read >= m_size) {
            char beyond;
            if (zip_fread(m_file, &beyond, 1) > 0)
                return fail(u"a entrada tem mais dados do que o tamanho que o arquivo compactado declara"_s);
            return 0;
        }
        const zip_int64_t read = zip_fread(m_file, data, zip_uint64_t(std::min(maxSize, m_size - m_read)));
        if (read < 0)
            return fail(u"a entrada não se descompacta (%1)"_s.arg(QString::fromUtf8(zip_file_strerror(m_file))));
        m_read += read;
        return read;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    qint64 fail(const QString& reason)
    {
        m_failure = reason;
        return -1;
    }

    zip_file_t* m_file;
    qint64 m_size;
    qint64 m_read = 0;
    QString m_failure;
};

} // namespace

std::shared_ptr<ZipArchive> ZipArchive::open(const QString& path)
{
    int error = 0;
    zip_t* handle = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!handle) {
        zip_error_t reason;
        zip_error_init_with_code(&reason, error);
        const QString text = QString::fromUtf8(zip_error_strerror(&reason));
        zip_error_fini(&reason);
        throw RefusedFile(u"arquivo"_s, u"não é um arquivo .zip legível (%1)"_s.arg(text));
    }
    std::shared_ptr<ZipArchive> archive(new ZipArchive(handle));
    qint64 total = 0;
    const zip_int64_t count = zip_get_num_entries(handle, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(handle, zip_uint64_t(i), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
            throw RefusedFile(u"entrada %1"_s.arg(i + 1), u"o arquivo .zip não diz o tamanho da entrada"_s);
        const QString name = QString::fromUtf8(stat.name);
        if (name.endsWith(u'/'))
            continue;
        total += qint64(stat.size);
        archive->m_entries.append({name, qint64(stat.size), i});
    }
    if (total > maxExpansion * QFileInfo(path).size())
        throw RefusedFile(u"arquivo"_s, u"descompactado, o .zip teria %1 bytes, mais de %2 vezes o seu tamanho: é "
                                        "recusado por segurança"_s.arg(total)
                                            .arg(maxExpansion));
    return archive;
}

ZipArchive::~ZipArchive() { zip_discard(m_archive); }

std::unique_ptr<QIODevice> ZipArchive::openEntry(const Entry& entry) const
{
    if (entry.size > maxEntrySize)
        throw RefusedFile(u"arquivo"_s, u"a entrada tem %1 bytes descompactada, mais que o limite de 100 MB: é "
                                        "recusada por segurança"_s.arg(entry.size));
    zip_file_t* file = zip_fopen_index(m_archive, zip_uint64_t(entry.index), 0);
    if (!file)
        throw RefusedFile(u"arquivo"_s, u"a entrada não se abre (%1)"_s.arg(
                                            QString::fromUtf8(zip_error_strerror(zip_get_error(m_archive)))));
    return std::make_unique<ZipEntryDevice>(file, entry.size);
}

QString ZipArchive::failureOf(const QIODevice& device)
{
    const auto* entry = dynamic_cast<const ZipEntryDevice*>(&device);
    return entry ? entry->failure() : QString();
}

} // namespace fiscalimport
