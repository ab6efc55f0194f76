#include "SetChildEnabled.h"

#include <QWidget>

void SetChildEnabled(QWidget* parent, bool enabled)
{
    for (QWidget* child : parent->findChildren<QWidget*>())
        if (!child->isWindow())
            child->setEnabled(enabled);
}
