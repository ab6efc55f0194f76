#pragma once

#include "hostfw_export.h"

#include <QObject>

#include <functional>

class TParams;

// The report dialog the base report form owns. Before each query of a report runs, it fires BeforeGetQueryParams
// with the query's parameters and an Allow flag that starts true.
class HOSTFW_EXPORT TReportDesignerDialog : public QObject {
    Q_OBJECT
public:
    TReportDesignerDialog(QObject* parent, const QString& name);

    std::function<void(TParams& Params, bool& Allow)> BeforeGetQueryParams;
};
