#include "TLabel.h"

TLabel::TLabel(QWidget* parent, const QString& name) : QLabel(parent) { setObjectName(name); }

void TLabel::setBuddy(QWidget* buddy)
{
    QLabel::setBuddy(buddy);
    if (!buddy)
        return;
    QString caption = text();
    caption.remove(u'&');
    buddy->setAccessibleName(caption);
    if (QWidget* proxy = buddy->focusProxy())
        proxy->setAccessibleName(caption);
}
