#pragma once

#include "TfrmDadosGerRel.h"
#include "hostfw_export.h"

#include <QMdiArea>
#include <QObject>
#include <QPointer>

class QMdiSubWindow;

// The application object: creates the report forms, tracks which one is active, and owns the screen cursor.
class HOSTFW_EXPORT TApplication : public QObject {
    Q_OBJECT
public:
    static TApplication& instance();

    // Forms are created as MDI children of this area; without one, as top-level windows.
    void setMdiArea(QMdiArea* area);
    QMdiArea* mdiArea() const { return m_mdiArea; }

    // Builds a T (a TfrmDadosGerRel), assigns reference, places it in the MDI area, runs its FormCreate directly,
    // then shows it. An exception from FormCreate destroys the form, clears reference and reaches the caller.
    template <class T>
    void CreateForm(T*& reference)
    {
        T* form = new T();
        reference = form;
        try {
            attach(form);
            form->FormCreate(form);
        } catch (...) {
            reference = nullptr;
            discard(form);
            throw;
        }
        form->Show();
    }

    // The host screen cursor: -11 the hourglass; 0 (or any other value) the default.
    void SetScreenCursor(int cursor);
    int ScreenCursor() const { return m_cursor; }

private:
    // A form announced its activation (runs FormActivate when it was not the active one) or its hiding.
    void formActivated(TfrmDadosGerRel* form);
    void formHidden(TfrmDadosGerRel* form);
    TApplication() = default;
    void attach(TfrmDadosGerRel* form);
    void discard(TfrmDadosGerRel* form);
    void subWindowActivated(QMdiSubWindow* window);

    QPointer<QMdiArea> m_mdiArea;
    QPointer<TfrmDadosGerRel> m_activeForm;
    int m_cursor = 0;
};
