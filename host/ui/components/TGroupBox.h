#pragma once

#include "FocusEvents.h"

#include <QGroupBox>

// A captioned group of controls. OnEnter fires when the focus moves from a control outside the group to one inside
// it, OnExit when it moves from inside to outside (see FocusEvents).
class HOSTFW_EXPORT TGroupBox : public QGroupBox, public FocusEvents {
    Q_OBJECT
public:
    TGroupBox(QWidget* parent, const QString& name);
};
