#include "PdfWriter.h"

#include "Exceptions.h"
#include "PagePainter.h"

#include <QDateTime>
#include <QIODevice>
#include <QPdfWriter>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

// Qt's PDF writer has no subject: its document information is completed by an update appended to the file, a new
// information dictionary with the subject, which the document's XMP metadata matches, as PDF/A asks.
namespace {

struct DocumentInfo {
    QString title;
    QString subject;
    QString creator;
    QString producer;
    QDateTime created; // UTC, to the second
};

QByteArray xmpMetadata(const DocumentInfo& info)
{
    const auto escaped = [](const QString& text) { return text.toHtmlEscaped().toUtf8(); };
    const auto alternative = [&](const char* name, const QString& text) {
        return "<dc:" + QByteArray(name) + "><rdf:Alt><rdf:li xml:lang=\"x-default\">" + escaped(text) +
               "</rdf:li></rdf:Alt></dc:" + name + ">\n";
    };
    QByteArray xmp = "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>\n"
                     "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
                     "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
                     "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n";
    xmp += alternative("title", info.title);
    if (!info.subject.isEmpty())
        xmp += alternative("description", info.subject);
    xmp += "</rdf:Description>\n"
           "<rdf:Description rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" xmp:CreatorTool=\"" +
           escaped(info.creator) + "\" xmp:CreateDate=\"" + info.created.toString(Qt::ISODate).toLatin1() +
           "\"/>\n"
           "<rdf:Description rdf:about=\"\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\" pdf:Producer=\"" +
           escaped(info.producer) +
           "\"/>\n"
           "<rdf:Description rdf:about=\"\" xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\" pdfaid:part=\"1\" "
           "pdfaid:conformance=\"B\"/>\n"
           "</rdf:RDF>\n"
           "</x:xmpmeta>\n"
           "<?xpacket end='w'?>";
    return xmp;
}

// A PDF text string: UTF-16BE with its byte-order mark, in hexadecimal.
QByteArray pdfString(const QString& text)
{
    QByteArray bytes("\xFE\xFF", 2);
    for (QChar c : text) {
        bytes.append(char(c.unicode() >> 8));
        bytes.append(char(c.unicode() & 0xFF));
    }
    return '<' + bytes.toHex().toUpper() + '>';
}

// Passes what the PDF writer writes on to the device, keeping the end of it, where the trailer is.
class TailKeeper : public QIODevice {
public:
    explicit TailKeeper(QIODevice& device) : m_device(device) { open(QIODevice::WriteOnly); }

    QByteArray tail() const { return m_tail.right(KeptBytes); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        m_tail.append(data, size);
        if (m_tail.size() > 16 * KeptBytes)
            m_tail = m_tail.right(KeptBytes);
        return m_device.write(data, size);
    }

private:
    static constexpr qsizetype KeptBytes = 4096;
    QIODevice& m_device;
    QByteArray m_tail;
};

// The pattern's first capture in the trailer; empty when absent.
QByteArray trailerEntry(const QString& trailer, const QString& pattern)
{
    return QRegularExpression(pattern).match(trailer).captured(1).toLatin1();
}

// The update after the document: a new information dictionary, under a trailer that carries on the document's
// /Root and /ID and points back to its cross-reference table.
void appendInfo(QIODevice& device, const QByteArray& tail, const DocumentInfo& info)
{
    const QString trailer = QString::fromLatin1(tail.mid(tail.lastIndexOf("trailer")));
    const QByteArray size = trailerEntry(trailer, u"/Size\\s+(\\d+)"_s);
    const QByteArray root = trailerEntry(trailer, u"/Root\\s+(\\d+\\s+\\d+\\s+R)"_s);
    const QByteArray id = trailerEntry(trailer, u"(/ID\\s*\\[[^\\]]*\\])"_s);
    const QByteArray previous = trailerEntry(trailer, u"startxref\\s+(\\d+)"_s);
    if (size.isEmpty() || root.isEmpty() || id.isEmpty() || previous.isEmpty())
        throw EFileWriteError(u"o PDF gerado não terminou como deveria"_s);
    const qint64 infoOffset = device.pos();
    const QByteArray dictionary = size + " 0 obj\n<<\n/Title " + pdfString(info.title) +
                                  (info.subject.isEmpty() ? QByteArray() : "\n/Subject " + pdfString(info.subject)) +
                                  "\n/Creator " + pdfString(info.creator) + "\n/Producer " + pdfString(info.producer) +
                                  "\n/CreationDate (D:" + info.created.toString(u"yyyyMMddHHmmss"_s).toLatin1() +
                                  "Z)\n>>\nendobj\n";
    device.write(dictionary + "xref\n" + size + " 1\n" + QByteArray::number(infoOffset).rightJustified(10, '0') +
                 " 00000 n \ntrailer\n<<\n/Size " + QByteArray::number(size.toLongLong() + 1) + "\n/Info " + size +
                 " 0 R\n/Root " + root + "\n" + id + "\n/Prev " + previous + "\n>>\nstartxref\n" +
                 QByteArray::number(infoOffset + dictionary.size()) + "\n%%EOF\n");
}

} // namespace

void writePdf(const ReportLayout& layout, QIODevice& device, ReportProgress& progress)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const DocumentInfo info{layout.data().definition.title, layout.data().description.subject,
                            ReportFilesCreator.toString(), u"Qt "_s + QString::fromLatin1(qVersion()),
                            now.addMSecs(-now.time().msec())};
    TailKeeper kept(device);
    {
        QPdfWriter pdf(&kept);
        pdf.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
        pdf.setTitle(info.title);
        pdf.setCreator(info.creator);
        pdf.setDocumentXmpMetadata(xmpMetadata(info));
        paintPages(layout, pdf, progress);
    }
    appendInfo(device, kept.tail(), info);
}
