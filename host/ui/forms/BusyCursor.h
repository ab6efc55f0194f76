#pragma once

#include "hostfw_export.h"

// Shows the hourglass for the life of the guard; every way out restores the cursor that was set before.
class HOSTFW_EXPORT BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    int m_previous;
};
