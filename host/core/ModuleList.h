#pragma once

#include "hostfw_core_export.h"

#include <QStringList>

// The host runtime's list of loaded screen modules, by file name. Used on the UI thread only.
class HOSTFW_CORE_EXPORT ModuleList {
public:
    // Registering a file already listed does nothing; unregistering one not listed does nothing.
    static void Register(const QString& moduleFile);
    static void Unregister(const QString& moduleFile);
    static QStringList Modules();
};
