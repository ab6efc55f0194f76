#pragma once

#include "hostfw_export.h"

class QWidget;

// Sets the enabled state of every descendant widget of parent (not of parent itself, nor of child windows).
// With false, no control inside the container accepts input.
HOSTFW_EXPORT void SetChildEnabled(QWidget* parent, bool enabled);
