#include "ReportCatalogue.h"

#include "Exceptions.h"
#include "ReportDefinition.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// "Listagem GIA SP (resumo)" -> "listagem-gia-sp-resumo".
QString FileNameOf(const QString& title)
{
    QString ascii;
    for (const QChar c : title.normalized(QString::NormalizationForm_D))
        if (c.unicode() < 128)
            ascii += c.toLower();
    static const QRegularExpression others(u"[^a-z0-9]+"_s);
    return ascii.replace(others, u"-"_s).remove(QRegularExpression(u"^-|-$"_s));
}

// One more than the greatest number that starts a file name of the folder, on two digits.
QString NextNumber(const QStringList& files)
{
    int last = 0;
    static const QRegularExpression leading(u"^(\\d+)"_s);
    for (const QString& file : files)
        last = std::max(last, leading.match(QFileInfo(file).fileName()).captured(1).toInt());
    return u"%1"_s.arg(last + 1, 2, 10, QChar(u'0'));
}

} // namespace

QStringList DefinitionFiles(const QString& folder)
{
    QFileInfoList files = QDir(folder).entryInfoList({u"*.json"_s}, QDir::Files);
    std::sort(files.begin(), files.end(),
              [](const QFileInfo& a, const QFileInfo& b) { return a.fileName() < b.fileName(); });
    QStringList paths;
    for (const QFileInfo& file : files)
        paths.append(file.absoluteFilePath());
    return paths;
}

QString AddDefinition(ReportDefinition definition, const QString& title)
{
    definition.title = title.trimmed();
    if (definition.title.isEmpty())
        throw EReportDefinitionError(u"Informe o título do novo relatório."_s);
    const QString folder = QFileInfo(definition.fileName).absolutePath();
    const QStringList files = DefinitionFiles(folder);
    for (const QString& file : files)
        if (ReportDefinition::fromFile(file).title.compare(definition.title, Qt::CaseInsensitive) == 0)
            throw EReportDefinitionError(
                u"Já existe um relatório de código %1 com o título '%2'."_s.arg(definition.code, definition.title));
    const QString target = QDir(folder).filePath(NextNumber(files) + u'-' + FileNameOf(definition.title) + u".json"_s);
    definition.save(target);
    return target;
}
