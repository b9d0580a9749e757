// Registration of TLumitra with the designer, and its two About editors: the
// context-menu verb "About Lumitra ..." and the About property's text.
#pragma once

#include "DesignIntf.h"

class TAboutComponentEditor : public DesignIntf::TComponentEditor
{
public:
    using TComponentEditor::TComponentEditor;

    void Edit() override;
    void ExecuteVerb(int Index) override;
    QString GetVerb(int Index) override;
    int GetVerbCount() override;
};

class TAboutPropertyEditor : public DesignIntf::TPropertyEditor
{
public:
    using TPropertyEditor::TPropertyEditor;

    void Edit() override;
    DesignIntf::TPropertyAttributes GetAttributes() override;
    QString GetValue() override;
};

namespace LumitraReg {

// Puts TLumitra on the palette page "Vantorel" and binds both editors to it.
void Register();

} // namespace LumitraReg
