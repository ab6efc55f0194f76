#pragma once

#include "Events.h"
#include "hostfw_export.h"

#include <QStackedWidget>

// Pages of controls, one shown at a time; the page is chosen by code (there are no tabs).
// OnPageChanged fires directly from setPageIndex, only when the index really changes.
class HOSTFW_EXPORT TNotebook : public QStackedWidget {
    Q_OBJECT
public:
    TNotebook(QWidget* parent, const QString& name);

    // Appends a page filling the notebook; its objectName is the caption.
    QWidget* addPage(const QString& caption);
    QString pageCaption(int index) const;

    int pageIndex() const { return currentIndex(); }
    void setPageIndex(int index);

    TNotifyEvent OnPageChanged;
};
