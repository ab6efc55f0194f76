#include "FocusEvents.h"

#include "FocusTracker.h"

#include <QWidget>

FocusEvents::FocusEvents(QWidget* self) : m_self(self) { FocusTracker::instance(); }

void FocusEvents::SetFocus()
{
    const QWidget* target = m_self->focusProxy() ? m_self->focusProxy() : m_self;
    if (m_self->isEnabled() && m_self->isVisible() && target->focusPolicy() != Qt::NoFocus)
        m_self->setFocus(Qt::OtherFocusReason);
}
