// fiscal-import on the project's sample files, December 2024 of the two sample companies, into an empty database:
// what lands in each table, and a second import, of the same files in a .zip archive, changing nothing.
#include "ImportFixture.h"

#include <QTemporaryDir>
#include <zip.h>

namespace {

// The sample files packed into one .zip archive at path.
void zipSampleFiles(const QString& path)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    const QDir sample(sampleFiles());
    for (const QString& folder : {u"efd"_s, u"nfe"_s})
        for (const QString& name : QDir(sample.filePath(folder)).entryList(QDir::Files)) {
            const QString file = sample.filePath(folder + u'/' + name);
            zip_source_t* source = zip_source_file(archive, QFile::encodeName(file).constData(), 0, -1);
            ASSERT_GE(zip_file_add(archive, (folder + u'/' + name).toUtf8().constData(), source, 0), 0);
        }
    ASSERT_EQ(zip_close(archive), 0);
}

} // namespace

TEST(SampleImport, TheSampleFilesLandInAnEmptyDatabaseAndASecondImportChangesNothing)
{
    const TestDatabase database({}, TestDatabase::Data::SchemaOnly);
    const QString db = database.address();

    const ProgramRun first = fiscalImport({u"--db"_s, db, sampleFiles()});
    ASSERT_EQ(first.exitCode, 0) << qPrintable(first.out + first.err);
    for (const QString& line :
         {u"Arquivos importados: 14."_s, u"Documentos: 10 novos, 0 atualizados, 0 sem mudança."_s,
          u"Cancelamentos: 1."_s,
          u"EFD ICMS/IPI 12/2024, empresa 01, inscrição 123456785119: livros e mapas gravados."_s,
          u"EFD ICMS/IPI 12/2024, empresa 02, inscrição 0961234563: livros e mapas gravados."_s,
          u"EFD-Contribuições 12/2024, empresa 01: livros e mapas gravados."_s,
          u"Entradas à espera de escrituração: 1 (com o CFOP do emitente espelhado até a EFD que as escritura)."_s})
        EXPECT_TRUE(first.out.contains(line)) << qPrintable(line + u"\n---\n"_s + first.out);

    // The companies and registrations of the EFDs' 0000 records, in the order of their files.
    EXPECT_EQ(sqlRows(db, u"SELECT E.CDEMPRESA, E.NMEMPRESA, E.NRCNPJ, E.SGUF, I.CDINSCESTA FROM EMPRESA E "
                          "JOIN INSCRESTAD I ON I.CDEMPRESA = E.CDEMPRESA ORDER BY 1"_s),
              (QStringList{u"01|Comercial Paulista de Alimentos Ltda|12345678000195|SP|123456785119"_s,
                           u"02|Metalúrgica Gaúcha S.A.|23456789000104|RS|0961234563"_s}));

    // Each invoice once, from its company's side: booked by the EFD or pending, the cancelled one marked.
    EXPECT_EQ(
        sqlRows(db, u"SELECT CDEMPRESA, NRNOTAFISC, CDMODDOCFISC, IDENTRSAIDOP, CDTIPOOPER, CDINSCRICAO, DTEMISSAO, "
                    "DTENTRSAID, CASE WHEN DTESCRITURACAO IS NULL THEN 'pendente' ELSE 'escriturada' END, "
                    "NMPARTICIPANTE, NRCNPJPARTIC, SGUFPARTIC, IDSITUACAO, VRTOTALNF FROM NOTAFISCAL ORDER BY 1, 2"_s),
        (QStringList{
            u"01|1001|55|S|VD|123456785119|2024-12-03|2024-12-03|escriturada|Comércio Delta ME|73905128000178|SP|N|4200.00"_s,
            u"01|1002|55|S|VD|123456785119|2024-12-09|2024-12-09|escriturada|Supermercado Catarina Ltda|82345671000159|SC|N|4200.00"_s,
            u"01|1003|55|S|VD|123456785119|2024-12-06|2024-12-06|pendente|Comércio Delta ME|73905128000178|SP|C|948.00"_s,
            u"01|34567|55|E|CO|123456785119|2024-12-04|2024-12-04|escriturada|Distribuidora Alfa Ltda|52318460000166|SP|N|10100.00"_s,
            u"01|501|65|S|VD|123456785119|2024-12-14|2024-12-14|escriturada|Consumidor final||SP|N|33.80"_s,
            u"01|55120|55|E|CO|123456785119|2024-12-19|2024-12-19|pendente|Indústria Gama Ltda|61234567000117|SP|N|2200.00"_s,
            u"01|8812|55|E|CO|123456785119|2024-12-10|2024-12-10|escriturada|Atacado Beta S.A.|76543210000198|PR|N|5200.00"_s,
            u"02|2001|55|S|VD|0961234563|2024-12-05|2024-12-05|escriturada|Siderúrgica Sul Ltda|91234560000166|RS|N|6600.00"_s,
            u"02|2002|55|S|VD|0961234563|2024-12-12|2024-12-12|escriturada|Ferragens Norte Ltda|83456712000147|SC|N|7700.00"_s,
            u"02|7789|55|E|CO|0961234563|2024-12-02|2024-12-02|escriturada|Aços Paulista Ltda|64321987000129|SP|N|8400.00"_s}));
    EXPECT_EQ(sqlRows(db, u"SELECT COUNT(*) FROM NOTAFISCAL WHERE LENGTH(NRCHAVEACESSO) = 44 "
                          "AND CAST(SUBSTR(NRCHAVEACESSO, 26, 9) AS INTEGER) = CAST(NRNOTAFISC AS INTEGER)"_s),
              QStringList{u"10"_s});

    // What the XMLs say of the items, the entries' CFOPs as booked (7789) or mirrored while pending (55120); the base
    // of 1002's PIS keeps the ICMS, as its XML says.
    EXPECT_EQ(sqlRows(db,
                      u"SELECT N.NRNOTAFISC, I.NRITEM, I.DSPRODUTO, I.CDFISCOPERIT, I.QTITEM, I.VRTOTALITEM, "
                      "I.VRDESCONTOIT, I.VRCONTABILIT, T.CDIMPOSTO, T.CDSITUTRIBIT, T.VRBASECALCIT, T.VRALIQUOTAIT, "
                      "T.VRIMPOSTOIT FROM NOTAFISCAL N JOIN ITEMNOTAFISCAL I ON I.NRSEQNOTAFISC = N.NRSEQNOTAFISC "
                      "JOIN ITEMNFIMPOSTO T ON T.NRSEQNOTAFISC = I.NRSEQNOTAFISC AND T.NRITEM = I.NRITEM "
                      "WHERE N.NRNOTAFISC IN ('1002', '34567', '55120', '7789') ORDER BY 1, 2, 9"_s),
              (QStringList{
                  u"1002|1|Café torrado 500 g|6102|300.00|4200.00|0.00|4200.00|01|000|4200.00|12.00|504.00"_s,
                  u"1002|1|Café torrado 500 g|6102|300.00|4200.00|0.00|4200.00|04|01|4200.00|1.65|69.30"_s,
                  u"1002|1|Café torrado 500 g|6102|300.00|4200.00|0.00|4200.00|05|01|4200.00|7.60|319.20"_s,
                  u"34567|1|Arroz tipo 1 fardo 5 kg|1102|400.00|7200.00|0.00|7200.00|01|000|7200.00|18.00|1296.00"_s,
                  u"34567|1|Arroz tipo 1 fardo 5 kg|1102|400.00|7200.00|0.00|7200.00|04|50|5904.00|1.65|97.42"_s,
                  u"34567|1|Arroz tipo 1 fardo 5 kg|1102|400.00|7200.00|0.00|7200.00|05|50|5904.00|7.60|448.70"_s,
                  u"34567|2|Feijão carioca fardo 1 kg|1102|500.00|3000.00|100.00|2900.00|01|000|2900.00|18.00|522.00"_s,
                  u"34567|2|Feijão carioca fardo 1 kg|1102|500.00|3000.00|100.00|2900.00|04|50|2378.00|1.65|39.24"_s,
                  u"34567|2|Feijão carioca fardo 1 kg|1102|500.00|3000.00|100.00|2900.00|05|50|2378.00|7.60|180.73"_s,
                  u"55120|1|Café torrado e moído 500 g|1102|200.00|2200.00|0.00|2200.00|01|000|2200.00|18.00|396.00"_s,
                  u"55120|1|Café torrado e moído 500 g|1102|200.00|2200.00|0.00|2200.00|04|50|1804.00|1.65|29.77"_s,
                  u"55120|1|Café torrado e moído 500 g|1102|200.00|2200.00|0.00|2200.00|05|50|1804.00|7.60|137.10"_s,
                  u"7789|1|Bobina de aço laminado|2101|10.00|8000.00|0.00|8400.00|01|000|8000.00|12.00|960.00"_s,
                  u"7789|1|Bobina de aço laminado|2101|10.00|8000.00|0.00|8400.00|03|50|8000.00|5.00|400.00"_s,
                  u"7789|1|Bobina de aço laminado|2101|10.00|8000.00|0.00|8400.00|04|50|7040.00|1.65|116.16"_s,
                  u"7789|1|Bobina de aço laminado|2101|10.00|8000.00|0.00|8400.00|05|50|7040.00|7.60|535.04"_s}));

    // The registers as the EFD ICMS/IPI declares them per CFOP, CST and rate (8812 declared twice, under two codes
    // of its supplier; 7789 on a base of 8.400,00), and the PIS/COFINS book as the EFD-Contribuições declares it
    // (10,00 more COFINS than the XMLs on CST 50).
    EXPECT_EQ(
        sqlRows(db, u"SELECT CDEMPRESA, CDLIVROMAG, CDINSCRICAO, CDIMPOSTO, CDFISCOPER, CDSITUTRIB, VRALIQUOTA, "
                    "VRCONTABIL, VRBASECALC, VRIMPOSTO, DTINIPERIODO, DTFIMPERIODO FROM TOTALLIVRO "
                    "ORDER BY 1, 2, 4, 5, 6"_s),
        (QStringList{u"01|0000000001|123456785119|01|1102|000|18.00|10100.00|10100.00|1818.00|2024-12-01|2024-12-31"_s,
                     u"01|0000000001|123456785119|01|2102|000|12.00|10400.00|10400.00|1248.00|2024-12-01|2024-12-31"_s,
                     u"01|0000000002|123456785119|01|5102|000|18.00|4233.80|4233.80|762.08|2024-12-01|2024-12-31"_s,
                     u"01|0000000002|123456785119|01|6102|000|12.00|4200.00|4200.00|504.00|2024-12-01|2024-12-31"_s,
                     u"01|0000000010||04||01|1.65|8433.80|7671.72|126.59|2024-12-01|2024-12-31"_s,
                     u"01|0000000010||04||50|1.65|15300.00|12858.00|212.16|2024-12-01|2024-12-31"_s,
                     u"01|0000000010||05||01|7.60|8433.80|7671.72|583.05|2024-12-01|2024-12-31"_s,
                     u"01|0000000010||05||50|7.60|15300.00|12858.00|987.21|2024-12-01|2024-12-31"_s,
                     u"02|0000000001|0961234563|01|2101|000|12.00|8400.00|8400.00|1008.00|2024-12-01|2024-12-31"_s,
                     u"02|0000000002|0961234563|01|5101|000|17.00|6600.00|6000.00|1020.00|2024-12-01|2024-12-31"_s,
                     u"02|0000000002|0961234563|01|6101|000|12.00|7700.00|7000.00|840.00|2024-12-01|2024-12-31"_s}));

    // The closed maps of the period: ICMS (E110, E111), IPI (E520), PIS and COFINS (M200/M210, M600/M610).
    EXPECT_EQ(sqlRows(db, u"SELECT CDEMPRESA, CDINSCRICAO, CDIMPOSTO, NMMAPAAPUR, IDSITUACAO, VRDEBITOSAIDAS, "
                          "VRCREDITOENTRADAS, VROUTROSCREDITOS, VRIMPOSTORECOLHER, VRSALDOCREDORTRANSP FROM MAPAAPUR "
                          "ORDER BY 1, 3, 2"_s),
              (QStringList{u"01|123456785119|01|Apuração ICMS 12/2024|F|1266.08|3066.00|0.00|0.00|1799.92"_s,
                           u"01||04|Apuração PIS 12/2024|F|126.58|126.58|0.00|0.00|0.00"_s,
                           u"01||05|Apuração COFINS 12/2024|F|583.05|583.05|0.00|0.00|0.00"_s,
                           u"02|0961234563|01|Apuração ICMS 12/2024|F|1860.00|1008.00|150.00|702.00|0.00"_s,
                           u"02||03|Apuração IPI 12/2024|F|1300.00|400.00|0.00|900.00|0.00"_s}));
    EXPECT_EQ(sqlRows(db, u"SELECT M.CDEMPRESA, M.CDIMPOSTO, A.NRAJUSTE, A.CDAJUSTE, A.DSAJUSTE, A.IDTIPOAJUSTE, "
                          "A.VRAJUSTE FROM AJUSTEAPUR A JOIN MAPAAPUR M ON M.NRMAPAAPUR = A.NRMAPAAPUR"_s),
              QStringList{u"02|01|1|RS020015|Crédito presumido - indústria|C|150.00"_s});

    // The same files again, packed in a .zip archive: nothing changes.
    const QStringList before = fiscalRows(db);
    QTemporaryDir dir;
    const QString archive = dir.filePath(u"dezembro.zip"_s);
    zipSampleFiles(archive);
    const ProgramRun second = fiscalImport({u"--db"_s, db, archive});
    EXPECT_EQ(second.exitCode, 0) << qPrintable(second.out + second.err);
    EXPECT_TRUE(second.out.contains(u"Documentos: 0 novos, 0 atualizados, 10 sem mudança."_s))
        << qPrintable(second.out);
    EXPECT_EQ(second.out.count(u"livros e mapas já estavam no banco, sem mudança"_s), 3) << qPrintable(second.out);
    EXPECT_EQ(fiscalRows(db), before);
}
