#include "TReportDesignerDialog.h"

TReportDesignerDialog::TReportDesignerDialog(QObject* parent, const QString& name) : QObject(parent)
{
    setObjectName(name);
}
