#pragma once

class QIODevice;

namespace fiscalimport {

struct ImportContext;

// Imports an EFD ICMS/IPI: its company and registration (0000, created when absent), its documents (block C: C100,
// C170, C190), the entry and exit registers per CST, CFOP and rate (C190), and the maps of the period: ICMS (E110,
// with the adjustments of E111), ICMS ST (E200, E210) and IPI (E500, E520). A substitute file (COD_FIN 1) replaces the
// period's registers and maps; an original one is refused when the period holds others. Throws RefusedFile,
// ImportCancelled, database::DatabaseError.
void importEfdIcmsIpi(QIODevice& device, ImportContext& context);

// Imports an EFD-Contribuições: its company (0000, created when absent), the documents of its establishments (C010,
// C100, C170), the PIS/COFINS book per tax, CST and rate (C170), and the PIS and COFINS maps of the period (M200 and
// M210, M600 and M610). A replacing file (TIPO_ESCRIT 1) replaces the period's book and maps; an original one is
// refused when the period holds others. Throws RefusedFile, ImportCancelled, database::DatabaseError.
void importEfdContribuicoes(QIODevice& device, ImportContext& context);

} // namespace fiscalimport
