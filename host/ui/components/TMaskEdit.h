#pragma once

#include "FocusEvents.h"
#include "TColor.h"
#include "TextChanges.h"

#include <QLineEdit>

// A text box with an edit mask in the host syntax "mask;keep;blank": in the mask, "9" is a digit that may be left
// blank, "0" a required digit, "#" a digit or sign, "L"/"l" a letter (required/optional), "A"/"a" a letter or digit,
// "C"/"c" any character, "\x" the literal x, anything else a literal; keep "0" means literals are not kept in
// text(); blank is the placeholder shown for an empty position ("99;0; ", "9.999;0; ", "999;0; ", "9999999999;0; ").
// text() holds only the characters typed in input positions, without literals or placeholders: "5.102" under
// "9.999;0; " reads "5102"; nothing typed reads "". maxLength() is the mask's length.
// OnChange, only when text() really changes: a change by code through this type (setText, clear) calls it directly;
// a change typed by the user, or written through QLineEdit's setText, calls it through Dispatch.
// A key pressed with Alt is never typed (KeepAltChordsOut).
class HOSTFW_EXPORT TMaskEdit : public QLineEdit, public FocusEvents {
    Q_OBJECT
public:
    TMaskEdit(QWidget* parent, const QString& name);

    void setEditMask(const QString& hostMask);
    const QString& editMask() const { return m_hostMask; }

    QString text() const;                // hides QLineEdit::text
    void setText(const QString& text);   // the characters go into the input positions; QLineEdit::setText fires too
    void clear() { setText(QString()); } // hides QLineEdit::clear

    void setColor(TColor color);
    TColor color() const { return m_color; }

    TNotifyEvent OnChange;

    // The Qt input mask for a host mask ("9.999;0; " -> "0.000; ").
    static QString toQtInputMask(const QString& hostMask);

protected:
    // A click into a field with nothing typed puts the cursor on the first position, where typing starts.
    void mousePressEvent(QMouseEvent* event) override;
    // Entering by Tab selects the whole text, so that typing replaces the code (Qt selects nothing in masked fields).
    void focusInEvent(QFocusEvent* event) override;

private:
    QString m_hostMask;
    bool m_keepLiterals = true;
    TColor m_color = TColor::clWindow;
    TextChanges* m_changes;
};
