// The designer interface that registration and the editors are written
// against: component registration by palette page, property editors bound by
// class, type and name, component editors with verbs. The plugin maps it onto
// Qt Designer's widget collection and task-menu extensions.
#pragma once

#include <QtCore/QMetaProperty>
#include <QtCore/QPointer>
#include <QtCore/QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QDesignerFormEditorInterface;

namespace DesignIntf {

// A class reference: the class's meta-object.
using TComponentClass = const QMetaObject *;
// The type information of a property.
using TTypeInfo = QMetaType;

// A published property of a class; invalid when the class has none of that
// name.
struct TPropInfo
{
    QMetaProperty Property;
    bool IsValid() const { return Property.isValid(); }
    TTypeInfo PropType() const { return Property.metaType(); }
    QString Name() const { return QString::fromLatin1(Property.name()); }
};

enum TPropertyAttribute : int {
    paValueList,
    paSubProperties,
    paDialog,      // the editor opens a dialog through Edit
    paMultiSelect,
    paAutoUpdate,
    paSortList,
    paReadOnly,    // the value cannot be typed in
    paRevertable,
    paFullWidthName,
    paVolatileSubProperties,
    paHostOwn,     // the designer's own; nothing here depends on it
    paNotNestable,
};
using TPropertyAttributes = std::uint16_t;
constexpr TPropertyAttributes AttributeBit(TPropertyAttribute A) { return TPropertyAttributes(1u << A); }

// The editor behind a component's context menu and its double-click action.
class TComponentEditor
{
public:
    TComponentEditor(QObject *AComponent, QDesignerFormEditorInterface *ADesigner);
    virtual ~TComponentEditor();
    TComponentEditor(const TComponentEditor &) = delete;
    TComponentEditor &operator=(const TComponentEditor &) = delete;

    // The default action: the first verb, when there is one.
    virtual void Edit();
    virtual void ExecuteVerb(int Index);
    virtual QString GetVerb(int Index);
    virtual int GetVerbCount();
    virtual void Copy();
    // Lets the editor adjust the menu entry of verb Index before it is shown.
    virtual void PrepareItem(int Index, QAction *Item);

    QObject *Component() const { return FComponent; }
    QDesignerFormEditorInterface *Designer() const { return FDesigner; }

private:
    QPointer<QObject> FComponent;
    QDesignerFormEditorInterface *FDesigner;
};

// The editor of one property of the selected components.
class TPropertyEditor
{
public:
    TPropertyEditor(QDesignerFormEditorInterface *ADesigner, int APropCount);
    virtual ~TPropertyEditor();
    TPropertyEditor(const TPropertyEditor &) = delete;
    TPropertyEditor &operator=(const TPropertyEditor &) = delete;

    virtual void Initialize();
    virtual void SetPropEntry(int Index, QObject *AInstance, const TPropInfo &APropInfo);
    virtual void Activate();
    virtual bool AllEqual();
    virtual bool AutoFill();
    virtual void Edit();
    virtual TPropertyAttributes GetAttributes();
    virtual int GetEditLimit();
    virtual QString GetName();
    virtual void GetProperties(const std::function<void(std::unique_ptr<TPropertyEditor>)> &Proc);
    virtual TPropInfo GetPropInfo();
    virtual QString GetValue();
    virtual void GetValues(const std::function<void(const QString &)> &Proc);
    virtual void SetValue(const QString &Value);

    QDesignerFormEditorInterface *Designer() const { return FDesigner; }
    int PropCount() const { return int(FPropList.size()); }

protected:
    // The property's ordinal value for the first selected component, read
    // through the meta-object and widened with its sign to 32 bits.
    int GetOrdValue() const;
    QObject *GetComponent(int Index) const;

private:
    struct TInstProp
    {
        QPointer<QObject> Instance;
        TPropInfo PropInfo;
    };
    QDesignerFormEditorInterface *FDesigner;
    std::vector<TInstProp> FPropList;
};

using TComponentEditorClass =
    std::function<std::unique_ptr<TComponentEditor>(QObject *, QDesignerFormEditorInterface *)>;
using TPropertyEditorClass =
    std::function<std::unique_ptr<TPropertyEditor>(QDesignerFormEditorInterface *, int)>;

template <class T> TComponentEditorClass ComponentEditorClass()
{
    return [](QObject *C, QDesignerFormEditorInterface *D) { return std::unique_ptr<TComponentEditor>(new T(C, D)); };
}

template <class T> TPropertyEditorClass PropertyEditorClass()
{
    return [](QDesignerFormEditorInterface *D, int N) { return std::unique_ptr<TPropertyEditor>(new T(D, N)); };
}

void RegisterComponents(const QString &Page, std::initializer_list<TComponentClass> ComponentClasses);
TPropInfo GetPropInfo(TComponentClass ClassInfo, const char *PropName);
// Binds EditorClass to the properties of type PropertyType named PropertyName
// (any name when empty) of ComponentClass and its descendants (any class when
// null). Later registrations win over earlier ones.
void RegisterPropertyEditor(TTypeInfo PropertyType, TComponentClass ComponentClass,
                            const QString &PropertyName, TPropertyEditorClass EditorClass);
void RegisterComponentEditor(TComponentClass ComponentClass, TComponentEditorClass EditorClass);

// What the designer host asks of the registrations.
struct TPaletteEntry
{
    QString Page;
    TComponentClass Class;
};
std::vector<TPaletteEntry> RegisteredComponents();
// The editor registered for the component's class or its nearest ancestor;
// null when there is none.
std::unique_ptr<TComponentEditor> CreateComponentEditor(QObject *Component, QDesignerFormEditorInterface *Designer);
// A property editor for one property of Instance, already given its entry;
// null when none is bound to that class, type and name.
std::unique_ptr<TPropertyEditor> CreatePropertyEditor(QObject *Instance, const TPropInfo &PropInfo,
                                                      QDesignerFormEditorInterface *Designer);
// Forgets every registration (tests).
void ClearRegistrations();

} // namespace DesignIntf
