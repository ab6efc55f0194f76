#pragma once

#include <QList>
#include <QString>
#include <memory>

class QIODevice;
struct zip;

namespace fiscalimport {

// A .zip archive read in place, entry by entry, within limits that keep a crafted archive from filling the memory or
// the disk: no entry over 100 MB once uncompressed, no more in all than 20 times the archive's size. Nothing is
// extracted to disk.
class ZipArchive {
public:
    struct Entry {
        QString name;
        qint64 size = 0; // uncompressed
        qint64 index = 0;
    };

    static constexpr qint64 maxEntrySize = 100 * 1000 * 1000;
    static constexpr qint64 maxExpansion = 20;

    // Opens the archive at path and lists its files (folders left out). Throws RefusedFile when it cannot be read,
    // or when its entries add up to more than maxExpansion times its size.
    static std::shared_ptr<ZipArchive> open(const QString& path);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    const QList<Entry>& entries() const { return m_entries; }
    // A sequential device on the entry's uncompressed content; a read fails beyond the entry's declared size, and
    // when the content does not decompress or its checksum is wrong. Throws RefusedFile when the entry is over
    // maxEntrySize or cannot be opened.
    std::unique_ptr<QIODevice> openEntry(const Entry& entry) const;
    // Why reading device failed, when it is an entry's device whose reading failed; the empty text otherwise.
    static QString failureOf(const QIODevice& device);

private:
    explicit ZipArchive(::zip* archive) : m_archive(archive) {}

    ::zip* m_archive;
    QList<Entry> m_entries;
};

} // namespace fiscalimport
