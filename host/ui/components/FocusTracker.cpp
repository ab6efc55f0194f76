#include "FocusTracker.h"

#include "Dispatch.h"
#include "FocusEvents.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QWidget>

namespace {

// The FocusEvents components holding the widget, innermost first, within its form.
QList<QWidget*> componentsOf(QWidget* widget, QWidget* form)
{
    QList<QWidget*> components;
    for (QWidget* w = widget; w && w != form; w = w->parentWidget())
        if (dynamic_cast<FocusEvents*>(w))
            components.append(w);
    return components;
}

QList<QPointer<QWidget>> difference(const QList<QWidget*>& from, const QList<QWidget*>& without)
{
    QList<QPointer<QWidget>> result;
    for (QWidget* w : from)
        if (!without.contains(w))
            result.append(w);
    return result;
}

} // namespace

FocusTracker& FocusTracker::instance()
{
    static QPointer<FocusTracker> tracker;
    if (!tracker)
        tracker = new FocusTracker(QCoreApplication::instance());
    return *tracker;
}

FocusTracker::FocusTracker(QObject* parent) : QObject(parent)
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusChanged(now); });
    qApp->installEventFilter(this);
}

bool FocusTracker::eventFilter(QObject*, QEvent* event)
{
    // A click or a key that moved the focus acts after the exit and enter events of that move, as it would had they
    // run at once.
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
        if (!m_pending.isEmpty())
            deliverPending();
        break;
    default:
        break;
    }
    return false;
}

QWidget* FocusTracker::formOf(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (w->isWindow() || qobject_cast<QMdiSubWindow*>(w))
            return w;
    return nullptr;
}

void FocusTracker::focusChanged(QWidget* now)
{
    if (!now)
        return;
    QWidget* form = formOf(now);
    if (now == form)
        return;
    if (!m_lastFocus.contains(form))
        connect(form, &QObject::destroyed, this, [this, form] { m_lastFocus.remove(form); });
    QPointer<QWidget>& last = m_lastFocus[form];
    QWidget* previous = last;
    last = now;
    if (previous == now || m_delivering > 0)
        return;

    const QList<QWidget*> before = componentsOf(previous, form);
    const QList<QWidget*> after = componentsOf(now, form);
    QList<QPointer<QWidget>> leaving = difference(before, after);
    QList<QPointer<QWidget>> entering = difference(after, before);
    std::reverse(entering.begin(), entering.end());
    if (leaving.isEmpty() && entering.isEmpty())
        return;
    m_pending.append({leaving, entering});
    QMetaObject::invokeMethod(this, &FocusTracker::deliverPending, Qt::QueuedConnection);
}

void FocusTracker::deliverPending()
{
    while (!m_pending.isEmpty()) {
        const Move move = m_pending.takeFirst();
        ++m_delivering;
        Dispatch([&] {
            for (const QPointer<QWidget>& w : move.leaving)
                if (w)
                    Fire(dynamic_cast<FocusEvents*>(w.data())->OnExit, w);
            for (const QPointer<QWidget>& w : move.entering)
                if (w)
                    Fire(dynamic_cast<FocusEvents*>(w.data())->OnEnter, w);
        });
        --m_delivering;
    }
}
