#include "ModuleLoader.h"

#include "Exceptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

using IniProcFunction = void (*)(const QVariant&);

// A module name becomes part of a file path: only letters and digits, so it cannot point elsewhere.
bool IsPlainName(const QString& moduleName)
{
    static const QRegularExpression plainName(u"^[A-Za-z0-9]+$"_s);
    return plainName.match(moduleName).hasMatch();
}

} // namespace

ModuleLoader::ModuleLoader(QString libraryDir) : m_libraryDir(std::move(libraryDir)) {}

ModuleLoader::~ModuleLoader()
{
    for (const auto& [name, library] : m_loaded)
        library->unload();
}

QString ModuleLoader::defaultLibraryDir()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + u"/../lib"_s);
}

QString ModuleLoader::fileOf(const QString& moduleName) const
{
    return QDir(m_libraryDir).filePath(u"lib%1.so"_s.arg(moduleName.toLower()));
}

bool ModuleLoader::has(const QString& moduleName) const
{
    return IsPlainName(moduleName) && QFileInfo(fileOf(moduleName)).isFile();
}

QString ModuleLoader::unknownModule(const QString& moduleName)
{
    return u"Módulo desconhecido: '%1'. Os módulos têm nomes como RLX58200."_s.arg(moduleName);
}

QLibrary& ModuleLoader::load(const QString& moduleName)
{
    const QString key = moduleName.toUpper();
    if (const auto found = m_loaded.find(key); found != m_loaded.end())
        return *found->second;

    auto library = std::make_unique<QLibrary>(fileOf(moduleName));
    if (!library->load())
        throw EHostConfigError(
            u"Não foi possível carregar o módulo '%1': %2"_s.arg(library->fileName(), library->errorString()));
    if (!library->resolve("IniProc")) {
        library->unload();
        throw EHostConfigError(u"O módulo '%1' não exporta a função IniProc."_s.arg(library->fileName()));
    }
    return *m_loaded.emplace(key, std::move(library)).first->second;
}

void ModuleLoader::open(const QString& moduleName, const QVariant& presets)
{
    if (!has(moduleName))
        throw EHostConfigError(unknownModule(moduleName));
    const auto iniProc = reinterpret_cast<IniProcFunction>(load(moduleName).resolve("IniProc"));
    iniProc(presets);
}
