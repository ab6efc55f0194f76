// The module's state and what it does when the host loads and unloads it.
#include "Modelo.h"

#include "ModuleList.h"
#include "TfrmConFisc.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QTranslator>

#include <dlfcn.h>
#include <memory>

using namespace Qt::StringLiterals;

TfrmConFisc* frmConFisc = nullptr;
bool boStCriado = false;
QString stListaMod;
QString stListaTp;

namespace {

// The file this module was loaded from.
QString ModuleFile()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&IniProc), &info) == 0 || !info.dli_fname)
        return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
}

// Defined after the module's state, so that it is destroyed before it.
class ModuleLifetime {
public:
    ModuleLifetime() : m_file(ModuleFile())
    {
        InstallTranslation();
        ModuleList::Register(m_file);
    }

    ~ModuleLifetime()
    {
        stListaMod.clear();
        stListaTp.clear();
        ModuleList::Unregister(m_file);
        if (m_translator)
            QCoreApplication::removeTranslator(m_translator.get());
    }

    ModuleLifetime(const ModuleLifetime&) = delete;
    ModuleLifetime& operator=(const ModuleLifetime&) = delete;

private:
    // rlx58200_<language>.qm beside the module, when there is one and the application runs already.
    void InstallTranslation()
    {
        if (!QCoreApplication::instance())
            return;
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(QLocale(), u"rlx58200"_s, u"_"_s, QFileInfo(m_file).absolutePath()) &&
            QCoreApplication::installTranslator(translator.get()))
            m_translator = std::move(translator);
    }

    QString m_file;
    std::unique_ptr<QTranslator> m_translator;
};

const ModuleLifetime lifetime;

} // namespace
