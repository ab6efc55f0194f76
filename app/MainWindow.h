#pragma once

#include <QMainWindow>

class ModuleLoader;
class QMdiArea;

// The host's main window: the MDI area where screens open, the Relatórios menu that opens them, and the import of
// fiscal documents into the host's database (Arquivo, "Importar documentos fiscais…").
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(ModuleLoader& modules, QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return m_mdiArea; }

    // Opens a module's screen; a failure is shown to the user, never raised.
    void openModule(const QString& moduleName, const QVariant& presets = {});
    // Opens the import dialog, modal, on the host's database.
    void openImport();

private:
    ModuleLoader& m_modules;
    QMdiArea* m_mdiArea;
};
