#pragma once

#include "FocusEvents.h"

#include <QRadioButton>

// A radio button; the buttons with one parent form a group (checking one unchecks the others).
// OnClick fires whenever the button becomes checked: by code (setChecked(true)) directly, by the user (click,
// keyboard) through Dispatch. Checking a button already checked does nothing; unchecking never fires.
class HOSTFW_EXPORT TRadioButton : public QRadioButton, public FocusEvents {
    Q_OBJECT
public:
    TRadioButton(QWidget* parent, const QString& name);

    void setChecked(bool checked); // hides QAbstractButton::setChecked

    TNotifyEvent OnClick;

private:
    bool m_byCode = false;
};
