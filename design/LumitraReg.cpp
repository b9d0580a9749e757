#include "LumitraReg.h"

#include "Lumitra.h"

namespace LumitraReg {

void Register()
{
    using namespace DesignIntf;
    // Only the class reference of TLumitra is used: its meta-object.
    const TComponentClass Lumitra = &TLumitra::staticMetaObject;
    RegisterComponents(QStringLiteral("Vantorel"), {Lumitra});
    const TTypeInfo AboutType = GetPropInfo(Lumitra, "About").PropType();
    RegisterPropertyEditor(AboutType, Lumitra, QStringLiteral("About"), PropertyEditorClass<TAboutPropertyEditor>());
    RegisterComponentEditor(Lumitra, ComponentEditorClass<TAboutComponentEditor>());
}

} // namespace LumitraReg
