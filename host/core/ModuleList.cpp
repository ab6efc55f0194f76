#include "ModuleList.h"

namespace {

QStringList& modules()
{
    static QStringList list;
    return list;
}

} // namespace

void ModuleList::Register(const QString& moduleFile)
{
    if (!modules().contains(moduleFile))
        modules().append(moduleFile);
}

void ModuleList::Unregister(const QString& moduleFile) { modules().removeAll(moduleFile); }

QStringList ModuleList::Modules() { return modules(); }
