#include "BusyCursor.h"

#include "TApplication.h"

BusyCursor::BusyCursor() : m_previous(TApplication::instance().ScreenCursor())
{
    TApplication::instance().SetScreenCursor(-11);
}

BusyCursor::~BusyCursor() { TApplication::instance().SetScreenCursor(m_previous); }
