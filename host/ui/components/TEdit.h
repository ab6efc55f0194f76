#pragma once

#include "FocusEvents.h"
#include "TColor.h"
#include "TextChanges.h"

#include <QLineEdit>

// A one-line text box.
// OnChange, only when the text really changes: a change by code through this type (setText, clear) calls it
// directly; a change typed by the user (typing, paste, cut, undo), or written through QLineEdit's setText, calls it
// through Dispatch. A key pressed with Alt is never typed (KeepAltChordsOut).
class HOSTFW_EXPORT TEdit : public QLineEdit, public FocusEvents {
    Q_OBJECT
public:
    TEdit(QWidget* parent, const QString& name);

    void setText(const QString& text); // QLineEdit::setText fires as well, through Dispatch
    void clear() { setText(QString()); }

    void setColor(TColor color);
    TColor color() const { return m_color; }

    TNotifyEvent OnChange;

private:
    TColor m_color = TColor::clWindow;
    TextChanges* m_changes;
};
