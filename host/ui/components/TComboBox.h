#pragma once

#include "FocusEvents.h"
#include "TColor.h"

#include <QComboBox>

// A drop-down list (no typing).
// OnChange fires, through Dispatch, each time the user chooses an item (mouse, keyboard, wheel); a selection made by
// code (setItemIndex, setCurrentIndex, adding items) never fires it.
class HOSTFW_EXPORT TComboBox : public QComboBox, public FocusEvents {
    Q_OBJECT
public:
    TComboBox(QWidget* parent, const QString& name);

    int itemIndex() const { return currentIndex(); }
    void setItemIndex(int index) { setCurrentIndex(index); }
    // The text of the selected item; "" when none is selected.
    QString text() const { return currentText(); }

    void setColor(TColor color);
    TColor color() const { return m_color; }

    TNotifyEvent OnChange;

private:
    TColor m_color = TColor::clWindow;
};
