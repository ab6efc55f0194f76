#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLineEdit;

// Fires a line edit's change event on every real change of its value, whoever makes the change. A change typed by
// the user, or written through QLineEdit's own setText by a caller that holds the base type, fires through Dispatch
// (nothing may be thrown through Qt's signals); a change written through write() fires directly, so that a failure
// of the handler reaches the code that wrote.
class TextChanges : public QObject {
public:
    // value: the edit's value as its component reads it; fire: raises the component's event.
    TextChanges(QLineEdit* edit, std::function<QString()> value, std::function<void()> fire);

    // Runs change, which writes the edit's text, and fires directly when the value changed.
    void write(const std::function<void()>& change);

private:
    void changed();

    std::function<QString()> m_value;
    std::function<void()> m_fire;
    QString m_last;
    bool m_writing = false;
    bool m_changedWhileWriting = false;
};
