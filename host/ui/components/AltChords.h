#pragma once

class QLineEdit;

// Keeps keys pressed with Alt out of a text box: Alt with a letter is meant for an accelerator or a menu, never as a
// character, so the box neither types it nor lets it replace the selected text. The key goes on to the box's
// parents, as a key the box does not take. AltGr, which some systems report as Ctrl+Alt, still types.
void KeepAltChordsOut(QLineEdit* edit);
