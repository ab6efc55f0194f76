#pragma once

#include "Events.h"
#include "hostfw_export.h"

class QWidget;

// OnEnter and OnExit of a control or container, fired by the host's focus tracking:
// when the focus moves from one control to another of the same form (MDI child or top-level window) — Tab,
// Shift+Tab, mouse, SetFocus — OnExit runs for each component the focus leaves (innermost first), then OnEnter
// for each one it enters (outermost first); an exception from one of them ends the sequence. They run once the
// focus change has completed (a queued call), through Dispatch.
// A dialog, pick list, popup, menu or another window taking the focus is not a change of the form's control: when
// the focus comes back to the same control nothing fires. Focus changes made by an enter or exit handler while it
// runs (a validator putting the focus back) fire nothing.
class HOSTFW_EXPORT FocusEvents {
public:
    explicit FocusEvents(QWidget* self);
    virtual ~FocusEvents() = default;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // Puts the focus on the control; does nothing (and raises nothing) when it cannot take it: disabled, hidden,
    // or in a hidden window.
    void SetFocus();

private:
    QWidget* m_self;
};
