#pragma once

#include "hostfw_export.h"

#include <functional>

// The guard at every entry from Qt into our code (a signal, an event override, a queued call).
// EAbort ends the action silently; an EReportRefused is shown as a complaint about the parameters (showError), any
// other EHostError as a failure of the action, with its message; any other std::exception with its
// what() read as UTF-8; anything else as "Erro inesperado.". Nothing escapes. Returns true when the action
// completed without an exception.
HOSTFW_EXPORT bool Dispatch(const std::function<void()>& action) noexcept;
