#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QXmlStreamAttributes>

namespace fiscalimport {

// What a reader of an XML document does at each element: path holds the local names from the root down to the
// element.
class XmlVisitor {
public:
    virtual ~XmlVisitor() = default;
    virtual void start(const QStringList& path, const QXmlStreamAttributes& attributes) = 0;
    // The text of an element that holds text, once whole.
    virtual void text(const QStringList& path, const QString& text) = 0;
    virtual void end(const QStringList& path) = 0;
    // Where the element at path is, for a message: "NFe/infNFe/det[2]/prod/qCom".
    virtual QString where(const QStringList& path) const { return path.join(u'/'); }
};

// Reads xml element by element into visitor. Nothing is ever fetched or expanded: a document that declares a DTD or
// refers to an entity is refused, as is one that is not well formed. Throws RefusedFile.
void walkXml(const QByteArray& xml, XmlVisitor& visitor);

} // namespace fiscalimport
