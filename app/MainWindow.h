#pragma once

#include <QMainWindow>

class ModuleLoader;
class QMdiArea;

// The host's main window: the MDI area where screens open, and the Relatórios menu that opens them.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(ModuleLoader& modules, QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return m_mdiArea; }

    // Opens a module's screen; a failure is shown to the user, never raised.
    void openModule(const QString& moduleName, const QVariant& presets = {});

private:
    ModuleLoader& m_modules;
    QMdiArea* m_mdiArea;
};
