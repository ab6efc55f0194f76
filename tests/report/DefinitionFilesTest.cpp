// The definitions kept in reports/ under version control: written back in their own form, so that what an edit
// changes is all that a difference shows.
#include "ReportCatalogue.h"
#include "ReportDefinition.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray Contents(const QString& fileName)
{
    QFile file(fileName);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(fileName);
    return file.readAll();
}

// How many lines differ between two texts of the same number of lines; -1 when the numbers differ.
qsizetype DifferingLines(const QByteArray& one, const QByteArray& other)
{
    const QByteArrayList a = one.split('\n'), b = other.split('\n');
    if (a.size() != b.size())
        return -1;
    qsizetype differing = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        differing += a[i] != b[i];
    return differing;
}

} // namespace

TEST(DefinitionFiles, SavedUnchangedTheyKeepTheirBytesAndAChangedCaptionIsOneLine)
{
    const QStringList files = DefinitionFiles(QStringLiteral(FISCAL_SOURCE_DIR "/reports/RLX582"));
    ASSERT_GE(files.size(), 9);
    QTemporaryDir dir;
    for (const QString& file : files) {
        SCOPED_TRACE(qPrintable(file));
        const QString copy = dir.filePath(QFileInfo(file).fileName());
        ReportDefinition definition = ReportDefinition::fromFile(file);
        definition.save(copy);
        EXPECT_EQ(Contents(copy), Contents(file));

        definition.columns.first().caption += u" (revista)"_s;
        definition.save(copy);
        EXPECT_EQ(DifferingLines(Contents(copy), Contents(file)), 1);
    }
}
