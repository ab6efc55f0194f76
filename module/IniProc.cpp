#include "Modelo.h"

#include "Exceptions.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

constexpr int PresetCount = 5;

// The five preset texts of a list variant; EConvertError for anything that is not such a list.
QStringList PresetTexts(const QVariant& presets)
{
    const auto notPresets = [] {
        return EConvertError(u"Os valores iniciais da tela devem ser nulos ou uma lista de cinco textos "
                             u"(imposto, empresa, inscrição, data inicial, data final)."_s);
    };
    const int type = presets.typeId();
    if (type != QMetaType::QVariantList && type != QMetaType::QStringList)
        throw notPresets();
    const QVariantList elements = presets.toList();
    if (elements.size() < PresetCount)
        throw notPresets();
    QStringList texts;
    for (int i = 0; i < PresetCount; ++i) {
        const QVariant& element = elements.at(i);
        if (!element.isValid() || element.typeId() == QMetaType::QVariantList ||
            element.typeId() == QMetaType::QStringList || !element.canConvert<QString>())
            throw notPresets();
        texts.append(element.toString());
    }
    return texts;
}

} // namespace

extern "C" void IniProc(const QVariant& presets)
{
    if (!presets.isValid() || presets.isNull()) {
        CriaConFisc({}, {}, {}, {}, {});
        return;
    }
    const QStringList texts = PresetTexts(presets);
    CriaConFisc(texts[0], texts[1], texts[2], texts[3], texts[4]);
}
