#pragma once

#include <QByteArray>
#include <QString>

namespace fiscalimport {

// An NF-e event registered by the tax authority: the invoice's access key and the event's type.
struct NfeEvent {
    QString key;
    QString type; // "110111" cancellation, "110110" correction letter...
};

inline const QString cancellationEvent = QStringLiteral("110111");

// Reads a procEventoNFe: the event with the authority's answer. Refuses, naming the element, one whose access key
// has a wrong check digit, that answers for another key, or that the authority did not register. Throws RefusedFile.
NfeEvent readNfeEvent(const QByteArray& xml);

} // namespace fiscalimport
