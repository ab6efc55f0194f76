// Hostile and broken inputs: each refused with where and why, nothing of it kept; and the same files mended import.
#include "CheckDigits.h"
#include "ImportFixture.h"
#include "Importer.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <zip.h>

namespace {

class NoProgress : public fiscalimport::ImportProgress {
public:
    bool step(const QString&, qint64, qint64) override { return true; }
};

fiscalimport::ImportSummary importPaths(const QString& db, const QStringList& paths)
{
    NoProgress progress;
    return fiscalimport::Importer(db).run(paths, progress);
}

QByteArray sample(const QString& file) { return contentOf(sampleFiles() + u'/' + file); }

// Sale 1001 of the sample renumbered 9001, its access key remade: an invoice the database does not have.
QByteArray freshInvoice()
{
    QByteArray xml = sample(u"nfe/01-saida-1001.xml"_s);
    const QString oldKey = QString::fromLatin1(xml).section(u"Id=\"NFe"_s, 1).left(44);
    QString key = oldKey.left(25) + u"000009001"_s + oldKey.mid(34, 9);
    key += QString::number(fiscalimport::accessKeyCheckDigit(key));
    return xml.replace(oldKey.toLatin1(), key.toLatin1())
        .replace("<nNF>1001</nNF>", "<nNF>9001</nNF>")
        .replace("<cDV>" + oldKey.right(1).toLatin1() + "</cDV>", "<cDV>" + key.right(1).toLatin1() + "</cDV>");
}

QString keyOf(const QByteArray& xml) { return QString::fromLatin1(xml).section(u"<chNFe>"_s, 1).left(44); }

// The EFD ICMS/IPI of company 01 as if of November 2024: a period the database has nothing of.
QByteArray novemberBooks()
{
    return sample(u"efd/efd-icms-ipi-01-122024.txt"_s).replace("|01122024|31122024|", "|01112024|30112024|");
}

QByteArray replaced(QByteArray content, const QByteArray& from, const QByteArray& to)
{
    EXPECT_TRUE(content.contains(from)) << from.toStdString();
    return content.replace(from, to);
}

// The number of the first line of content that holds text.
int lineOf(const QByteArray& content, const QByteArray& text)
{
    return int(content.left(content.indexOf(text)).count('\n')) + 1;
}

QByteArray zipBomb()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"bomba.zip"_s);
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    static const QByteArray zeros(30 * 1000 * 1000, '0');
    zip_source_t* source = zip_source_buffer(archive, zeros.constData(), zip_uint64_t(zeros.size()), 0);
    zip_file_add(archive, "notas.xml", source, 0);
    zip_close(archive);
    return contentOf(path);
}

} // namespace

TEST(RefusedInputs, EachIsNamedWithWhereAndWhyAndLeavesNothingBehind)
{
    const TestDatabase database({}, TestDatabase::Data::SchemaOnly);
    const QString db = database.address();
    ASSERT_TRUE(importPaths(db, {sampleFiles()}).refused.isEmpty());

    const QByteArray invoice = freshInvoice();
    const QByteArray books = novemberBooks();
    const QByteArray cancellation =
        sample(u"nfe/01-saida-1003-cancelamento.xml"_s)
            .replace(keyOf(sample(u"nfe/01-saida-1003-cancelada.xml"_s)).toLatin1(), keyOf(invoice).toLatin1());
    const QByteArray wrongDigit = QByteArray(invoice).replace(
        keyOf(invoice).toLatin1(),
        (keyOf(invoice).left(43) + QString::number((keyOf(invoice).right(1).toInt() + 1) % 10)).toLatin1());
    const QByteArray c100 = books.mid(books.indexOf("|C100|1|0|C001|"), 200);
    struct Case {
        const char* what;
        QString file;
        QByteArray content;
        QString where; // a regular expression
        QString reason;
    };
    const Case cases[] = {
        {"broken XML", u"quebrada.xml"_s, invoice.left(invoice.size() / 2), u"^linha \\d+, coluna \\d+$"_s,
         u"o XML termina antes de fechar os seus elementos"_s},
        {"wrong check digit", u"digito.xml"_s, wrongDigit, u"^nfeProc/NFe/infNFe/@Id$"_s,
         u"não tem 44 dígitos com o dígito verificador certo"_s},
        {"key not matching its document", u"outra-chave.xml"_s, replaced(invoice, "<nNF>9001</nNF>", "<nNF>9002</nNF>"),
         u"^nfeProc/NFe/infNFe/ide/nNF$"_s, u"\"000009002\" não confere com a chave de acesso"_s},
        {"no authorisation", u"sem-protocolo.xml"_s, invoice.left(invoice.indexOf("<protNFe")) + "</nfeProc>",
         u"^nfeProc$"_s, u"a nota vem sem o protocolo de autorização (protNFe)"_s},
        {"denied", u"denegada.xml"_s,
         replaced(invoice, "<cStat>100</cStat><xMotivo>Autorizado o uso da NF-e</xMotivo>",
                  "<cStat>302</cStat><xMotivo>Uso Denegado</xMotivo>"),
         u"^nfeProc/protNFe/infProt/cStat$"_s, u"a nota não foi autorizada (situação 302: Uso Denegado)"_s},
        {"entity expansion", u"entidades.xml"_s,
         replaced(invoice, "<nfeProc ",
                  "<!DOCTYPE nfeProc [<!ENTITY a \"aaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]><nfeProc ")
             .replace("Comércio Delta ME", "&b;"),
         u"^linha \\d+, coluna \\d+$"_s, u"o XML declara um tipo de documento (DTD)"_s},
        {"external entity", u"externa.xml"_s,
         replaced(invoice, "<nfeProc ", "<!DOCTYPE nfeProc [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><nfeProc ")
             .replace("Comércio Delta ME", "&x;"),
         u"^linha \\d+, coluna \\d+$"_s, u"o XML declara um tipo de documento (DTD)"_s},
        {"letter in an XML amount", u"letra.xml"_s,
         replaced(invoice, "<vProd>2500.00</vProd>", "<vProd>25O0.00</vProd>"),
         u"^nfeProc/NFe/infNFe/det\\[1\\]/prod/vProd$"_s, u"\"25O0.00\" não é um valor"_s},
        {"XML over 10 MB", u"grande.xml"_s,
         replaced(invoice, "</nfeProc>", "<!--" + QByteArray(10 * 1000 * 1000, 'x') + "--></nfeProc>"), u"^arquivo$"_s,
         u"mais que o limite de 10 MB"_s},
        {"no company of the database", u"terceiros.xml"_s,
         replaced(sample(u"nfe/01-entrada-55120-gama-nao-escriturada.xml"_s), "<CNPJ>12345678000195</CNPJ>",
                  "<CNPJ>11222333000181</CNPJ>"),
         u"^nfeProc/NFe/infNFe$"_s,
         u"nenhuma empresa do banco de dados participa da nota (emitente CNPJ 61234567000117, "
         "destinatário CNPJ 11222333000181)"_s},
        {"cancellation of an invoice not imported", u"cancelamento.xml"_s, cancellation,
         u"^procEventoNFe/evento/infEvento/chNFe$"_s, u"não está no banco de dados"_s},
        {"zip bomb", u"bomba.zip"_s, zipBomb(), u"^arquivo$"_s, u"mais de 20 vezes o seu tamanho"_s},
        {"letter in an EFD amount", u"letra.txt"_s,
         replaced(books, c100, QByteArray(c100).replace("|4200,00|0|", "|42O0,00|0|")),
         u"^linha %1$"_s.arg(lineOf(books, c100)), u"campo 12 (VL_DOC) do registro C100: \"42O0,00\" não é um valor"_s},
        {"unknown record", u"registro.txt"_s, replaced(books, "|0001|0|", "|X999|0|"), u"^linha 2$"_s,
         u"o registro \"X999\" não existe no leiaute da EFD ICMS/IPI"_s},
        {"truncated EFD", u"truncada.txt"_s, books.left(books.indexOf("|E001|")),
         u"^linha %1$"_s.arg(lineOf(books, "|E001|")), u"o arquivo termina sem o registro 9999 de encerramento"_s},
        {"line over 64 KiB", u"linha.txt"_s,
         replaced(books, "|Distribuidora Alfa Ltda|", "|" + QByteArray(70 * 1024, 'A') + "|"),
         u"^linha %1$"_s.arg(lineOf(books, "|Distribuidora Alfa Ltda|")), u"a linha passa de 64 KiB"_s},
        {"original over a period booked otherwise", u"original.txt"_s,
         replaced(sample(u"efd/efd-icms-ipi-02-122024.txt"_s), "|E110|1860,00|", "|E110|1870,00|"), u"^linha 1$"_s,
         u"o banco de dados já tem outra escrituração de EFD ICMS/IPI 12/2024, empresa 02, inscrição 0961234563"_s},
        {"neither invoice nor book", u"danfe.pdf"_s, "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n", QString(),
         u"o conteúdo não é de NF-e"_s},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = dir.filePath(c.file);
        writeFile(path, c.content);
        const QStringList before = fiscalRows(db);

        const fiscalimport::ImportSummary summary = importPaths(db, {path});

        ASSERT_EQ(summary.refused.size(), 1) << qPrintable(summary.text());
        const fiscalimport::RefusedInput& refused = summary.refused.first();
        EXPECT_TRUE(refused.file.startsWith(path)) << qPrintable(refused.file);
        EXPECT_TRUE(QRegularExpression(c.where.isEmpty() ? u"^$"_s : c.where).match(refused.where).hasMatch())
            << qPrintable(refused.where);
        EXPECT_TRUE(refused.reason.contains(c.reason)) << qPrintable(refused.reason);
        EXPECT_EQ(fiscalRows(db), before);
    }

    // What the broken files were made from imports.
    writeFile(dir.filePath(u"nova.xml"_s), invoice);
    writeFile(dir.filePath(u"novembro.txt"_s), books);
    const fiscalimport::ImportSummary mended =
        importPaths(db, {dir.filePath(u"nova.xml"_s), dir.filePath(u"novembro.txt"_s)});
    EXPECT_TRUE(mended.refused.isEmpty()) << qPrintable(mended.text());
    EXPECT_EQ(mended.documentsThatAre(fiscalimport::StoreOutcome::New), 1);
    EXPECT_EQ(mended.declarations.size(), 1);
}
