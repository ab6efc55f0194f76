#include "TNotebook.h"

#include "Exceptions.h"

using namespace Qt::StringLiterals;

TNotebook::TNotebook(QWidget* parent, const QString& name) : QStackedWidget(parent) { setObjectName(name); }

QWidget* TNotebook::addPage(const QString& caption)
{
    auto* page = new QWidget(this);
    page->setObjectName(caption);
    addWidget(page);
    return page;
}

QString TNotebook::pageCaption(int index) const
{
    const QWidget* page = widget(index);
    return page ? page->objectName() : QString();
}

void TNotebook::setPageIndex(int index)
{
    if (index < 0 || index >= count())
        throw EHostConfigError(u"%1: página %2 inexistente."_s.arg(objectName()).arg(index));
    if (index == currentIndex())
        return;
    setCurrentIndex(index);
    Fire(OnPageChanged, this);
}
