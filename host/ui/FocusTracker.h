#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

class QWidget;

// Follows the application's focus and fires the OnExit and OnEnter events of FocusEvents components, form by form
// (a form is an MDI child window or a top-level window). Each form remembers the control that had its focus last,
// so focus taken by a dialog, a popup or another window and given back changes nothing.
class FocusTracker : public QObject {
    Q_OBJECT
public:
    static FocusTracker& instance();

    // The MDI child window or top-level window that holds the widget.
    static QWidget* formOf(QWidget* widget);

private:
    explicit FocusTracker(QObject* parent);
    void focusChanged(QWidget* now);
    void deliver(const QList<QPointer<QWidget>>& leaving, const QList<QPointer<QWidget>>& entering);

    QHash<QWidget*, QPointer<QWidget>> m_lastFocus;
    int m_delivering = 0;
};
