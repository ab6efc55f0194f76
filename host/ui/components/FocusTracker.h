#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

class QWidget;

// Follows the application's focus and fires the OnExit and OnEnter events of FocusEvents components, form by form
// (a form is an MDI child window or a top-level window). Each form remembers the control that had its focus last,
// so focus taken by a dialog, a popup or another window and given back changes nothing. The events run once the focus
// change is over, and always before the click or key press that follows it.
class FocusTracker : public QObject {
    Q_OBJECT
public:
    static FocusTracker& instance();

    // The MDI child window or top-level window that holds the widget.
    static QWidget* formOf(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The components a focus change left and entered.
    struct Move {
        QList<QPointer<QWidget>> leaving;
        QList<QPointer<QWidget>> entering;
    };

    explicit FocusTracker(QObject* parent);
    void focusChanged(QWidget* now);
    void deliverPending();

    QHash<QWidget*, QPointer<QWidget>> m_lastFocus;
    QList<Move> m_pending;
    int m_delivering = 0;
};
