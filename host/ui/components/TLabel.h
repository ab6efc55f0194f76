#pragma once

#include "hostfw_export.h"

#include <QLabel>

// A caption. Set the control it names with setBuddy: that control's accessible name becomes the caption.
class HOSTFW_EXPORT TLabel : public QLabel {
    Q_OBJECT
public:
    TLabel(QWidget* parent, const QString& name);

    // Also names the buddy for accessibility (its accessibleName becomes this caption, without '&').
    void setBuddy(QWidget* buddy);
};
