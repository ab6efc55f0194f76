#include "AltChords.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

class AltChordFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const Qt::KeyboardModifiers modifiers = static_cast<QKeyEvent*>(event)->modifiers();
        if (!(modifiers & Qt::AltModifier) || (modifiers & Qt::ControlModifier))
            return false;
        event->ignore(); // the parents see it as a key the box left alone
        return true;
    }
};

} // namespace

void KeepAltChordsOut(QLineEdit* edit) { edit->installEventFilter(new AltChordFilter(edit)); }
