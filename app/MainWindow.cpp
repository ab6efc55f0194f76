#include "MainWindow.h"

#include "Dispatch.h"
#include "HostSettings.h"
#include "ImportDialog.h"
#include "ModuleLoader.h"

#include <QMdiArea>
#include <QMenuBar>

using namespace Qt::StringLiterals;

MainWindow::MainWindow(ModuleLoader& modules, QWidget* parent)
    : QMainWindow(parent), m_modules(modules), m_mdiArea(new QMdiArea(this))
{
    setObjectName(u"MainWindow"_s);
    setWindowTitle(u"Sistema Fiscal"_s);
    m_mdiArea->setObjectName(u"mdiArea"_s);
    setCentralWidget(m_mdiArea);

    QMenu* file = menuBar()->addMenu(u"&Arquivo"_s);
    file->setObjectName(u"mnuArquivo"_s);
    QAction* importing = file->addAction(u"Importar documentos fiscais…"_s);
    importing->setObjectName(u"actImportarDocumentos"_s);
    connect(importing, &QAction::triggered, this, [this] { openImport(); });

    QMenu* reports = menuBar()->addMenu(u"&Relatórios"_s);
    reports->setObjectName(u"mnuRelatorios"_s);
    QAction* conferencia = reports->addAction(u"Conferência Fiscal (RLX58200)"_s);
    conferencia->setObjectName(u"actRLX58200"_s);
    connect(conferencia, &QAction::triggered, this, [this] { openModule(u"RLX58200"_s); });
}

void MainWindow::openImport()
{
    ImportDialog dialog(HostSettings::current().databasePath, this);
    dialog.exec();
}

void MainWindow::openModule(const QString& moduleName, const QVariant& presets)
{
    Dispatch([&] { m_modules.open(moduleName, presets); });
}
