#include "TGroupBox.h"

TGroupBox::TGroupBox(QWidget* parent, const QString& name) : QGroupBox(parent), FocusEvents(this)
{
    setObjectName(name);
}
