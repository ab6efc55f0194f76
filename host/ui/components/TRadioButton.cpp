#include "TRadioButton.h"

#include "Dispatch.h"

TRadioButton::TRadioButton(QWidget* parent, const QString& name) : QRadioButton(parent), FocusEvents(this)
{
    setObjectName(name);
    connect(this, &QAbstractButton::toggled, this, [this](bool checked) {
        if (checked && !m_byCode)
            Dispatch([this] { Fire(OnClick, this); });
    });
}

void TRadioButton::setChecked(bool checked)
{
    if (checked == isChecked())
        return;
    m_byCode = true;
    QRadioButton::setChecked(checked);
    m_byCode = false;
    if (checked)
        Fire(OnClick, this);
}
