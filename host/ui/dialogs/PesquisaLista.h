#pragma once

#include "hostfw_export.h"

#include <QString>

class TDataSource;

// A multiple-choice list over the dataset of source (its visible fields, with check boxes), the keys already in
// output ticked. titleAndMessage is "list title|message for an empty list". The fourth argument is taken for
// compatibility and has no effect.
// - no dataset, or an empty one: shows the message as an error; output unchanged; false.
// - cancelled: output unchanged; false.
// - otherwise: output = the keyField values of the chosen rows, in list order, joined by "," with no blanks
//   ("" when none is chosen); true.
// An unknown keyField raises EDatabaseError.
HOSTFW_EXPORT bool PesquisaLista(TDataSource* source, const QString& keyField, const QString& titleAndMessage, bool,
                                 QString& output);
