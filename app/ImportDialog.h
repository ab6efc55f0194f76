#pragma once

#include <QDialog>

class QListWidget;
class QPlainTextEdit;
class QPushButton;

// "Importar documentos fiscais": the files and folders to import into the fiscal database the host works on
// (NF-e XMLs, their cancellations, EFD ICMS/IPI and EFD-Contribuições, .zip archives), the import with its progress and
// "Cancelar" (a cancel keeps the files finished), and the summary of what it did. The file and folder choices and
// the progress go through the Dialogs service; a failure of the database is shown as one.
class ImportDialog : public QDialog {
    Q_OBJECT
public:
    explicit ImportDialog(const QString& database, QWidget* parent = nullptr);

    // Adds the files, or the folder, that the user chooses to the list to import.
    void chooseFiles();
    void chooseFolder();
    // Imports the files of the list; the summary shows below it, and the list empties.
    void import();

    QStringList paths() const;
    QString summary() const;

private:
    void addPaths(const QStringList& paths);

    QString m_database;
    QListWidget* m_paths;
    QPushButton* m_import;
    QPlainTextEdit* m_summary;
};
