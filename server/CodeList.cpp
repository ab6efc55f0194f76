#include "CodeList.h"

namespace fiscal {

QStringList normalizedCodeList(const QString& list)
{
    QStringList codes;
    for (const QString& entry : list.split(u','))
        if (const QString code = entry.trimmed(); !code.isEmpty())
            codes.append(code);
    codes.sort();
    codes.removeDuplicates();
    return codes;
}

} // namespace fiscal
