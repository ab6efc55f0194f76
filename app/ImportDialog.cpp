#include "ImportDialog.h"

#include "BusyCursor.h"
#include "Dialogs.h"
#include "Dispatch.h"
#include "HostSettings.h"
#include "Importer.h"
#include "ReportProgress.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The import's progress in the host's progress window: the file being read and how far all the files are, in percent.
class WindowProgress : public fiscalimport::ImportProgress {
public:
    explicit WindowProgress(ReportProgress& window) : m_window(window) {}
    bool step(const QString& file, qint64 done, qint64 total) override
    {
        const qint64 percent = total > 0 ? std::min<qint64>(100, done * 100 / total) : 0;
        return m_window.step(u"Importando %1"_s.arg(QFileInfo(file).fileName()), percent, 100);
    }

private:
    ReportProgress& m_window;
};

QPushButton* button(const QString& name, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

ImportDialog::ImportDialog(const QString& database, QWidget* parent)
    : QDialog(parent), m_database(database), m_paths(new QListWidget(this)),
      m_import(button(u"btnImportar"_s, u"&Importar"_s, this)), m_summary(new QPlainTextEdit(this))
{
    setObjectName(u"frmImportacao"_s);
    setWindowTitle(u"Importar documentos fiscais"_s);
    resize(640, 480);
    m_paths->setObjectName(u"lstArquivos"_s);
    m_summary->setObjectName(u"memResumo"_s);
    m_summary->setReadOnly(true);
    m_import->setEnabled(false);

    QPushButton* files = button(u"btnArquivos"_s, u"&Arquivos..."_s, this);
    QPushButton* folder = button(u"btnPasta"_s, u"&Pasta..."_s, this);
    QPushButton* close = button(u"btnFechar"_s, u"&Fechar"_s, this);
    connect(files, &QPushButton::clicked, this, [this] { Dispatch([this] { chooseFiles(); }); });
    connect(folder, &QPushButton::clicked, this, [this] { Dispatch([this] { chooseFolder(); }); });
    connect(m_import, &QPushButton::clicked, this, [this] { Dispatch([this] { import(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* choices = new QHBoxLayout;
    choices->addWidget(files);
    choices->addWidget(folder);
    choices->addStretch();
    choices->addWidget(m_import);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(u"XMLs de NF-e e NFC-e, eventos de cancelamento, arquivos da EFD ICMS/IPI e da "
                                 "EFD-Contribuições, pastas e arquivos .zip, para o banco de dados %1:"_s.arg(database),
                                 this));
    layout->addWidget(m_paths, 1);
    layout->addLayout(choices);
    layout->addWidget(new QLabel(u"Resumo:"_s, this));
    layout->addWidget(m_summary, 2);
    auto* closing = new QHBoxLayout;
    closing->addStretch();
    closing->addWidget(close);
    layout->addLayout(closing);
}

void ImportDialog::chooseFiles()
{
    addPaths(Dialogs::current().openFileNames(
        u"Arquivos a importar"_s, u"NF-e, EFD e arquivos compactados (*.xml *.txt *.zip);;Todos os arquivos (*)"_s));
}

void ImportDialog::chooseFolder()
{
    const QString folder = Dialogs::current().existingFolder(u"Pasta a importar (com as subpastas)"_s);
    if (!folder.isEmpty())
        addPaths({folder});
}

void ImportDialog::addPaths(const QStringList& paths)
{
    for (const QString& path : paths)
        if (m_paths->findItems(path, Qt::MatchExactly).isEmpty())
            m_paths->addItem(path);
    m_import->setEnabled(m_paths->count() > 0);
}

void ImportDialog::import()
{
    const BusyCursor busy;
    const std::unique_ptr<ReportProgress> window = Dialogs::current().progress(u"Importar documentos fiscais"_s);
    WindowProgress progress(*window);
    const HostSettings& settings = HostSettings::current();
    fiscalimport::Importer importer(m_database, {}, {settings.databaseUser, settings.databasePassword});
    m_summary->setPlainText(importer.run(paths(), progress).text());
    m_paths->clear();
    m_import->setEnabled(false);
}

QStringList ImportDialog::paths() const
{
    QStringList paths;
    for (int i = 0; i < m_paths->count(); ++i)
        paths.append(m_paths->item(i)->text());
    return paths;
}

QString ImportDialog::summary() const { return m_summary->toPlainText(); }
