#include "ImportBenchData.h"

#include "CheckDigits.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace bench {

namespace {

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

QByteArray item(int number, int invoice)
{
    const double quantity = 1 + (invoice + number) % 20;
    const double price = 10 + (invoice * 7 + number * 13) % 400;
    const double total = quantity * price;
    const double icms = total * 0.18;
    const double base = total - icms;
    return uR"(<det nItem="%1"><prod><cProd>P%2</cProd><cEAN>SEM GTIN</cEAN><xProd>Produto %2</xProd><NCM>10063021</NCM><CFOP>5102</CFOP><uCom>UN</uCom><qCom>%3</qCom><vUnCom>%4</vUnCom><vProd>%5</vProd><cEANTrib>SEM GTIN</cEANTrib><uTrib>UN</uTrib><qTrib>%3</qTrib><vUnTrib>%4</vUnTrib><indTot>1</indTot></prod><imposto><ICMS><ICMS00><orig>0</orig><CST>00</CST><modBC>3</modBC><vBC>%5</vBC><pICMS>18.00</pICMS><vICMS>%6</vICMS></ICMS00></ICMS><PIS><PISAliq><CST>01</CST><vBC>%7</vBC><pPIS>1.65</pPIS><vPIS>%8</vPIS></PISAliq></PIS><COFINS><COFINSAliq><CST>01</CST><vBC>%7</vBC><pCOFINS>7.60</pCOFINS><vCOFINS>%9</vCOFINS></COFINSAliq></COFINS></imposto></det>)"_s
        .arg(number)
        .arg((invoice + number) % 500)
        .arg(quantity, 0, 'f', 4)
        .arg(price, 0, 'f', 2)
        .arg(total, 0, 'f', 2)
        .arg(icms, 0, 'f', 2)
        .arg(base, 0, 'f', 2)
        .arg(base * 0.0165, 0, 'f', 2)
        .arg(base * 0.076, 0, 'f', 2)
        .toUtf8();
}

QByteArray invoiceXml(int number)
{
    QString key = u"3524121234567800019555001%1"_s.arg(number, 9, 10, QChar(u'0')) + u"1"_s +
                  u"%1"_s.arg(number, 8, 10, QChar(u'0'));
    key += QString::number(fiscalimport::accessKeyCheckDigit(key));
    const QString customer = u"%1"_s.arg(10000000 + number % 97, 8, 10, QChar(u'0')) + u"000100"_s;
    QByteArray items;
    for (int i = 1; i <= 3; ++i)
        items += item(i, number);
    return (
        uR"(<?xml version="1.0" encoding="UTF-8"?>
<nfeProc xmlns="http://www.portalfiscal.inf.br/nfe" versao="4.00"><NFe><infNFe Id="NFe%1" versao="4.00"><ide><cUF>35</cUF><cNF>%2</cNF><natOp>Venda</natOp><mod>55</mod><serie>1</serie><nNF>%3</nNF><dhEmi>2024-12-%4T10:00:00-03:00</dhEmi><tpNF>1</tpNF><idDest>1</idDest><cMunFG>3550308</cMunFG><tpImp>1</tpImp><tpEmis>1</tpEmis><cDV>%5</cDV><tpAmb>1</tpAmb><finNFe>1</finNFe><indFinal>0</indFinal><indPres>1</indPres><procEmi>0</procEmi><verProc>1</verProc></ide><emit><CNPJ>12345678000195</CNPJ><xNome>Comercial Paulista de Alimentos Ltda</xNome><enderEmit><xLgr>Rua A</xLgr><nro>1</nro><xBairro>Centro</xBairro><cMun>3550308</cMun><xMun>São Paulo</xMun><UF>SP</UF><CEP>01001000</CEP></enderEmit><IE>123456785119</IE><CRT>3</CRT></emit><dest><CNPJ>%6</CNPJ><xNome>Cliente %7</xNome><enderDest><xLgr>Rua B</xLgr><nro>2</nro><xBairro>Centro</xBairro><cMun>3550308</cMun><xMun>São Paulo</xMun><UF>SP</UF><CEP>01001000</CEP></enderDest><indIEDest>9</indIEDest></dest>)"_s
            .arg(key, key.mid(35, 8), QString::number(number), u"%1"_s.arg(1 + number % 28, 2, 10, QChar(u'0')),
                 key.right(1), customer, QString::number(number % 97))
            .toUtf8() +
        items +
        uR"(<total><ICMSTot><vNF>0.00</vNF></ICMSTot></total></infNFe></NFe><protNFe versao="4.00"><infProt><tpAmb>1</tpAmb><chNFe>%1</chNFe><nProt>135240000000001</nProt><cStat>100</cStat><xMotivo>Autorizado o uso da NF-e</xMotivo></infProt></protNFe></nfeProc>
)"_s.arg(key)
            .toUtf8());
}

} // namespace

QString generatedInvoiceFolder()
{
    const QString path = folder().filePath(u"nfe"_s);
    if (QDir(path).exists())
        return path;
    QDir().mkpath(path);
    for (int number = 1; number <= importedInvoices; ++number) {
        QFile file(u"%1/%2.xml"_s.arg(path).arg(number, 6, 10, QChar(u'0')));
        file.open(QIODevice::WriteOnly);
        file.write(invoiceXml(number));
    }
    return path;
}

QString generatedBooks(int lines)
{
    const QString path = folder().filePath(u"efd-%1.txt"_s.arg(lines));
    if (QFile::exists(path))
        return path;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    int written = 0;
    const auto line = [&](const QString& text) {
        file.write(text.toLatin1() + "\r\n");
        ++written;
    };
    line(
        u"|0000|018|0|01122024|31122024|Comercial Paulista de Alimentos Ltda|12345678000195||SP|123456785119|3550308|||A|1|"_s);
    line(u"|0001|0|"_s);
    constexpr int suppliers = 1000;
    for (int i = 0; i < suppliers; ++i)
        line(u"|0150|F%1|Fornecedor %1 Ltda|1058|%2000100||110042490114|3550308||Rua A|1||Centro|"_s.arg(i).arg(
            20000000 + i, 8, 10, QChar(u'0')));
    line(u"|0990|%1|"_s.arg(written + 1));
    line(u"|C001|0|"_s);
    const int closing = 8; // C990, E001, E100, E110, E990, 9001, 9990, 9999
    for (int number = 1; written + 5 + closing <= lines; ++number) {
        const int supplier = number % suppliers;
        const QString cnpj = u"%1"_s.arg(20000000 + supplier, 8, 10, QChar(u'0')) + u"000100"_s;
        QString key = u"352412%1"_s.arg(cnpj) + u"55001%1"_s.arg(number, 9, 10, QChar(u'0')) + u"1"_s +
                      u"%1"_s.arg(number, 8, 10, QChar(u'0'));
        key += QString::number(fiscalimport::accessKeyCheckDigit(key));
        line(u"|C100|0|1|F%1|55|00|1|%2|%3|05122024|06122024|300,00|0|0,00|0,00|300,00|9|0,00|0,00|0,00|300,00|54,00|"
             "0,00|0,00|0,00|4,07|18,76|0,00|0,00|"_s.arg(supplier)
                 .arg(number)
                 .arg(key));
        for (int item = 1; item <= 3; ++item)
            line(u"|C170|%1|P%1||1,00000|UN|100,00|0,00|0|000|1102||100,00|18,00|18,00|0,00|0,00|0,00|0|||0,00|0,00|"
                 "0,00|50|82,00|1,65|||1,35|50|82,00|7,60|||6,23|1.01.03|0,00|"_s.arg(item));
        line(u"|C190|000|1102|18,00|300,00|300,00|54,00|0,00|0,00|0,00|0,00||"_s);
    }
    line(u"|C990|%1|"_s.arg(written));
    line(u"|E001|0|"_s);
    line(u"|E100|01122024|31122024|"_s);
    line(u"|E110|0,00|0,00|0,00|0,00|0,00|0,00|0,00|0,00|0,00|0,00|0,00|0,00|0,00|0,00|"_s);
    line(u"|E990|4|"_s);
    line(u"|9001|0|"_s);
    line(u"|9990|3|"_s);
    line(u"|9999|%1|"_s.arg(written + 1));
    return path;
}

} // namespace bench
