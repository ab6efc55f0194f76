#pragma once

#include "FocusEvents.h"
#include "TColor.h"

#include <QLineEdit>

// A one-line text box.
// OnChange: a change by code (setText, clear) calls it directly, only when the text really changes; a change
// typed by the user (typing, paste, cut, undo) calls it through Dispatch.
class HOSTFW_EXPORT TEdit : public QLineEdit, public FocusEvents {
    Q_OBJECT
public:
    TEdit(QWidget* parent, const QString& name);

    void setText(const QString& text); // hides QLineEdit::setText
    void clear() { setText(QString()); }

    void setColor(TColor color);
    TColor color() const { return m_color; }

    TNotifyEvent OnChange;

private:
    TColor m_color = TColor::clWindow;
};
