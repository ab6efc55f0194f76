#include "SafeSave.h"

#include "Exceptions.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace {

// Why the file cannot be written, in the user's words where the reason is a common one. A file without any write
// permission is protected even from a user, such as root, whom the system would let write it.
QString refusal(const QFileInfo& target)
{
    constexpr QFile::Permissions Writable = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (target.isDir())
        return u"é uma pasta"_s;
    if (target.exists() && (!target.isWritable() || !(target.permissions() & Writable)))
        return u"o arquivo está protegido contra gravação"_s;
    if (!target.absoluteDir().exists())
        return u"a pasta não existe"_s;
    if (!QFileInfo(target.absolutePath()).isWritable())
        return u"a pasta não permite gravação"_s;
    return {};
}

} // namespace

QString fileWriteFailure(const QString& fileName, const QString& reason)
{
    return u"O arquivo '%1' não pôde ser gravado: %2."_s.arg(fileName, reason);
}

void saveWhole(const QString& fileName, const std::function<void(QIODevice&)>& write)
{
    if (const QString reason = refusal(QFileInfo(fileName)); !reason.isEmpty())
        throw EFileWriteError(fileWriteFailure(fileName, reason));
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EFileWriteError(fileWriteFailure(fileName, file.errorString()));
    try {
        write(file);
    } catch (const EFileWriteError& e) {
        throw EFileWriteError(fileWriteFailure(fileName, e.message()));
    }
    if (!file.commit())
        throw EFileWriteError(fileWriteFailure(fileName, file.errorString()));
}
