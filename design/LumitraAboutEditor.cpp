#include "LumitraAboutForm.h"
#include "LumitraReg.h"

#include <memory>

namespace {

// A fresh form per showing, destroyed when the dialog closes, also when
// showing it throws.
void ShowAboutForm()
{
    auto Form = std::make_unique<TFormLumitraAbout>();
    Form->ShowModal();
}

} // namespace

void TAboutComponentEditor::Edit()
{
    ExecuteVerb(0);
}

void TAboutComponentEditor::ExecuteVerb(int Index)
{
    if (Index == 0)
        ShowAboutForm();
}

QString TAboutComponentEditor::GetVerb(int Index)
{
    return Index == 0 ? QStringLiteral("About Lumitra ...") : QString();
}

int TAboutComponentEditor::GetVerbCount()
{
    return 1;
}

void TAboutPropertyEditor::Edit()
{
    ShowAboutForm();
}

DesignIntf::TPropertyAttributes TAboutPropertyEditor::GetAttributes()
{
    using namespace DesignIntf;
    return AttributeBit(paDialog) | AttributeBit(paReadOnly) | AttributeBit(paHostOwn);
}

QString TAboutPropertyEditor::GetValue()
{
    const int V = GetOrdValue();
    const int Major = (V & 0xFF00) >> 8;
    const int Minor = V & 0xFF;
    return QStringLiteral("Lumitra Version %1.%2").arg(Major).arg(Minor);
}
