#pragma once

#include <QLibrary>
#include <QString>
#include <QVariant>

#include <map>
#include <memory>

// Loads screen modules (lib<name>.so, name in lower case) from one folder and opens them through their
// exported entry `IniProc`. A module stays loaded while the loader lives: its screens run its code.
class ModuleLoader {
public:
    explicit ModuleLoader(QString libraryDir);
    // Unloads every module that was loaded, so each runs its unload steps.
    ~ModuleLoader();

    // Loads the module when it is not loaded yet and calls its IniProc with presets (null or five texts).
    // A module that cannot be loaded or lacks IniProc raises EHostConfigError naming the file and the reason;
    // what IniProc raises passes through unchanged.
    void open(const QString& moduleName, const QVariant& presets);

    QString fileOf(const QString& moduleName) const;
    // The name is a plain module name and its library is in the folder.
    bool has(const QString& moduleName) const;
    // What the user reads for a module the host does not have (no folder, no file: nothing of the installation).
    static QString unknownModule(const QString& moduleName);

    // The folder beside the running program where its modules live: <program dir>/../lib.
    static QString defaultLibraryDir();

private:
    QLibrary& load(const QString& moduleName);

    QString m_libraryDir;
    std::map<QString, std::unique_ptr<QLibrary>> m_loaded; // by module name in upper case
};
