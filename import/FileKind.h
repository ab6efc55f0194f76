#pragma once

#include <QByteArrayView>

namespace fiscalimport {

enum class FileKind { EfdIcmsIpi, EfdContribuicoes, Nfe, NfeEvent, Zip, Unknown };

// What a file is, by the first few kilobytes of its content: a .zip archive, an NF-e or NFC-e (nfeProc, or an NFe
// without its protocol), an NF-e event (procEventoNFe), an EFD ICMS/IPI or an EFD-Contribuições (|0000| told apart by
// its fourth field: the period's first day in the one, a one-digit indicator in the other).
FileKind kindOf(QByteArrayView head);

} // namespace fiscalimport
