// The host's import dialog: the files and folders chosen, the import with its progress, a cancel, a failure.
#include "ImportDialog.h"
#include "ScriptedDialogs.h"
#include "SqlRows.h"
#include "TestDatabase.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString sample = QString::fromUtf8(FISCAL_SOURCE_DIR "/data/import-sample");

void click(ImportDialog& dialog, const QString& button)
{
    auto* found = dialog.findChild<QPushButton*>(button);
    ASSERT_NE(found, nullptr);
    found->click();
}

} // namespace

TEST(ImportDialog, ImportsTheFilesAndFoldersChosenAndShowsWhatItDid)
{
    ScriptedDialogs& dialogs = ScriptedDialogs::reset();
    const TestDatabase database({}, TestDatabase::Data::SchemaOnly);
    ImportDialog dialog(database.address());
    EXPECT_FALSE(dialog.findChild<QPushButton*>(u"btnImportar"_s)->isEnabled());

    dialogs.answerFolder(sample + u"/efd"_s);
    click(dialog, u"btnPasta"_s);
    dialogs.answerOpen(
        {sample + u"/nfe/01-saida-1001.xml"_s, sample + u"/nfe/01-entrada-55120-gama-nao-escriturada.xml"_s});
    click(dialog, u"btnArquivos"_s);
    click(dialog, u"btnArquivos"_s); // cancelled: nothing more
    EXPECT_EQ(dialog.paths(), (QStringList{sample + u"/efd"_s, sample + u"/nfe/01-saida-1001.xml"_s,
                                           sample + u"/nfe/01-entrada-55120-gama-nao-escriturada.xml"_s}));

    click(dialog, u"btnImportar"_s);
    EXPECT_TRUE(dialogs.texts(u"error"_s).isEmpty()) << qPrintable(dialogs.texts(u"error"_s).join(u'\n'));
    EXPECT_EQ(dialogs.progressTitles, QStringList{u"Importar documentos fiscais"_s});
    EXPECT_TRUE(dialog.summary().contains(u"Arquivos importados: 5."_s)) << qPrintable(dialog.summary());
    EXPECT_TRUE(dialog.summary().contains(u"Entradas à espera de escrituração: 1"_s)) << qPrintable(dialog.summary());
    EXPECT_EQ(sqlRows(database.address(), u"SELECT COUNT(*) FROM NOTAFISCAL"_s), QStringList{u"9"_s});
    EXPECT_TRUE(dialog.paths().isEmpty());
}

TEST(ImportDialog, ACancelKeepsTheFilesFinishedAndAFailureIsShown)
{
    ScriptedDialogs& dialogs = ScriptedDialogs::reset();
    const TestDatabase database({}, TestDatabase::Data::SchemaOnly);
    ImportDialog dialog(database.address());
    dialogs.answerFolder(sample + u"/efd"_s);
    click(dialog, u"btnPasta"_s);
    dialogs.cancelProgressAt(2); // as the second file starts

    click(dialog, u"btnImportar"_s);
    EXPECT_TRUE(dialog.summary().contains(u"Importação cancelada"_s)) << qPrintable(dialog.summary());
    EXPECT_TRUE(dialog.summary().contains(u"Arquivos importados: 1."_s)) << qPrintable(dialog.summary());
    EXPECT_EQ(sqlRows(database.address(), u"SELECT DISTINCT CDEMPRESA FROM NOTAFISCAL"_s), QStringList{u"01"_s});

    QTemporaryDir notADatabase;
    ImportDialog failing(notADatabase.path());
    dialogs.answerFolder(sample + u"/efd"_s);
    click(failing, u"btnPasta"_s);
    click(failing, u"btnImportar"_s);
    ASSERT_EQ(dialogs.texts(u"error"_s).size(), 1);
    EXPECT_TRUE(dialogs.texts(u"error"_s).first().contains(notADatabase.path()));
    EXPECT_TRUE(failing.summary().isEmpty());
}
