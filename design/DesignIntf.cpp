#include "DesignIntf.h"

#include <QtCore/QMetaObject>
#include <algorithm>

namespace DesignIntf {

namespace {

struct TPropertyEditorEntry
{
    TTypeInfo Type;
    TComponentClass Class;
    QString Name;
    TPropertyEditorClass Editor;
};

struct TComponentEditorEntry
{
    TComponentClass Class;
    TComponentEditorClass Editor;
};

struct TRegistry
{
    std::vector<TPaletteEntry> Palette;
    std::vector<TPropertyEditorEntry> PropertyEditors;
    std::vector<TComponentEditorEntry> ComponentEditors;
};

TRegistry &Registry()
{
    static TRegistry R;
    return R;
}

} // namespace

TComponentEditor::TComponentEditor(QObject *AComponent, QDesignerFormEditorInterface *ADesigner)
    : FComponent(AComponent), FDesigner(ADesigner)
{
}

TComponentEditor::~TComponentEditor() = default;

void TComponentEditor::Edit()
{
    if (GetVerbCount() > 0)
        ExecuteVerb(0);
}

void TComponentEditor::ExecuteVerb(int) {}
QString TComponentEditor::GetVerb(int) { return {}; }
int TComponentEditor::GetVerbCount() { return 0; }
void TComponentEditor::Copy() {}
void TComponentEditor::PrepareItem(int, QAction *) {}

TPropertyEditor::TPropertyEditor(QDesignerFormEditorInterface *ADesigner, int APropCount)
    : FDesigner(ADesigner), FPropList(std::size_t(std::max(APropCount, 0)))
{
}

TPropertyEditor::~TPropertyEditor() = default;

void TPropertyEditor::Initialize() {}

void TPropertyEditor::SetPropEntry(int Index, QObject *AInstance, const TPropInfo &APropInfo)
{
    if (Index < 0 || std::size_t(Index) >= FPropList.size())
        return;
    FPropList[std::size_t(Index)] = {AInstance, APropInfo};
}

void TPropertyEditor::Activate() {}

bool TPropertyEditor::AllEqual()
{
    return FPropList.size() == 1;
}

bool TPropertyEditor::AutoFill()
{
    return true;
}

void TPropertyEditor::Edit() {}

TPropertyAttributes TPropertyEditor::GetAttributes()
{
    return AttributeBit(paMultiSelect) | AttributeBit(paRevertable);
}

int TPropertyEditor::GetEditLimit()
{
    return 255;
}

QString TPropertyEditor::GetName()
{
    return FPropList.empty() ? QString() : FPropList.front().PropInfo.Name();
}

void TPropertyEditor::GetProperties(const std::function<void(std::unique_ptr<TPropertyEditor>)> &) {}

TPropInfo TPropertyEditor::GetPropInfo()
{
    return FPropList.empty() ? TPropInfo{} : FPropList.front().PropInfo;
}

QString TPropertyEditor::GetValue()
{
    return QStringLiteral("(unknown)");
}

void TPropertyEditor::GetValues(const std::function<void(const QString &)> &) {}

void TPropertyEditor::SetValue(const QString &) {}

int TPropertyEditor::GetOrdValue() const
{
    if (FPropList.empty() || !FPropList.front().Instance)
        return 0;
    const TInstProp &E = FPropList.front();
    const QVariant V = E.PropInfo.Property.read(E.Instance.data());
    // Wrap to 32 bits: a 64-bit or unsigned value keeps its low word.
    return int(std::uint32_t(std::uint64_t(V.toLongLong())));
}

QObject *TPropertyEditor::GetComponent(int Index) const
{
    if (Index < 0 || std::size_t(Index) >= FPropList.size())
        return nullptr;
    return FPropList[std::size_t(Index)].Instance.data();
}

void RegisterComponents(const QString &Page, std::initializer_list<TComponentClass> ComponentClasses)
{
    for (TComponentClass C : ComponentClasses)
        if (C)
            Registry().Palette.push_back({Page, C});
}

TPropInfo GetPropInfo(TComponentClass ClassInfo, const char *PropName)
{
    if (!ClassInfo || !PropName)
        return {};
    const int Index = ClassInfo->indexOfProperty(PropName);
    return Index < 0 ? TPropInfo{} : TPropInfo{ClassInfo->property(Index)};
}

void RegisterPropertyEditor(TTypeInfo PropertyType, TComponentClass ComponentClass,
                            const QString &PropertyName, TPropertyEditorClass EditorClass)
{
    Registry().PropertyEditors.push_back({PropertyType, ComponentClass, PropertyName, std::move(EditorClass)});
}

void RegisterComponentEditor(TComponentClass ComponentClass, TComponentEditorClass EditorClass)
{
    Registry().ComponentEditors.push_back({ComponentClass, std::move(EditorClass)});
}

std::vector<TPaletteEntry> RegisteredComponents()
{
    return Registry().Palette;
}

std::unique_ptr<TComponentEditor> CreateComponentEditor(QObject *Component, QDesignerFormEditorInterface *Designer)
{
    if (!Component)
        return nullptr;
    const auto &Editors = Registry().ComponentEditors;
    for (const QMetaObject *M = Component->metaObject(); M; M = M->superClass()) {
        for (auto E = Editors.rbegin(); E != Editors.rend(); ++E)
            if (E->Class == M && E->Editor)
                return E->Editor(Component, Designer);
    }
    return nullptr;
}

std::unique_ptr<TPropertyEditor> CreatePropertyEditor(QObject *Instance, const TPropInfo &PropInfo,
                                                      QDesignerFormEditorInterface *Designer)
{
    if (!Instance || !PropInfo.IsValid())
        return nullptr;
    const auto &Editors = Registry().PropertyEditors;
    for (auto E = Editors.rbegin(); E != Editors.rend(); ++E) {
        if (E->Type != PropInfo.PropType())
            continue;
        if (E->Class && !Instance->metaObject()->inherits(E->Class))
            continue;
        if (!E->Name.isEmpty() && E->Name.compare(PropInfo.Name(), Qt::CaseInsensitive) != 0)
            continue;
        std::unique_ptr<TPropertyEditor> Editor = E->Editor ? E->Editor(Designer, 1) : nullptr;
        if (Editor) {
            Editor->SetPropEntry(0, Instance, PropInfo);
            Editor->Initialize();
        }
        return Editor;
    }
    return nullptr;
}

void ClearRegistrations()
{
    Registry() = TRegistry{};
}

} // namespace DesignIntf
