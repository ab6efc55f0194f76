#pragma once

#include <QObject>

#include <functional>

// Event types of the host components. Components expose their events as public members:
//   medImposto->OnChange = [this](QObject* s) { medImpostoChange(s); };
// An event caused by our own code (setText, setChecked, setPageIndex...) calls the handler directly, so its
// exception reaches the caller. An event caused by the user (typing, clicking, focus) enters through Dispatch.
using TNotifyEvent = std::function<void(QObject* Sender)>;
using TBeforePesqEvent = std::function<void(QObject* Sender, bool& Allow)>;
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(QObject* Sender, TCloseAction& Action)>;

// Calls the handler when one is assigned.
inline void Fire(const TNotifyEvent& event, QObject* sender)
{
    if (event)
        event(sender);
}
