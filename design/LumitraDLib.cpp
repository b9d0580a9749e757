#include "LumitraDLib.h"

#include "LumitraReg.h"
#include "LumitraResources.h"

#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QExtensionManager>
#include <QtGui/QIcon>
#include <QtWidgets/QWidget>
#include <mutex>

using namespace DesignIntf;

namespace {

QString ClassName(TComponentClass Class)
{
    return QString::fromLatin1(Class->className());
}

} // namespace

QStringList PropertyEditorTexts(QObject *Component, QDesignerFormEditorInterface *Core)
{
    QStringList Texts;
    const QMetaObject *M = Component->metaObject();
    for (int I = 0; I < M->propertyCount(); ++I) {
        const TPropInfo Info{M->property(I)};
        const auto Editor = CreatePropertyEditor(Component, Info, Core);
        if (Editor && (Editor->GetAttributes() & AttributeBit(paDialog)))
            Texts << Editor->GetName() + QStringLiteral(": ") + Editor->GetValue();
    }
    return Texts;
}

TLumitraWidgetCollection::TLumitraWidgetCollection(QObject *Parent) : QObject(Parent)
{
    static std::once_flag Registered;
    std::call_once(Registered, LumitraReg::Register);
    LumitraDesign::InitResources();
    for (const TPaletteEntry &Entry : RegisteredComponents())
        FWidgets.append(new TComponentWidget(Entry, this));
}

QList<QDesignerCustomWidgetInterface *> TLumitraWidgetCollection::customWidgets() const
{
    return FWidgets;
}

TComponentWidget::TComponentWidget(const TPaletteEntry &Entry, QObject *Parent)
    : QObject(Parent), FEntry(Entry)
{
}

QString TComponentWidget::name() const
{
    return ClassName(FEntry.Class);
}

QString TComponentWidget::group() const
{
    return FEntry.Page;
}

QString TComponentWidget::toolTip() const
{
    Probe();
    return FPropertyTexts.isEmpty() ? name() : name() + QStringLiteral(" (") + FPropertyTexts.join(QStringLiteral("; ")) + QLatin1Char(')');
}

QString TComponentWidget::whatsThis() const
{
    Probe();
    QString Text = name();
    for (const QString &T : FPropertyTexts)
        Text += QStringLiteral(". ") + T;
    return Text + QStringLiteral(". Right-click it on a form for its editor's commands.");
}

QString TComponentWidget::includeFile() const
{
    // The header is named after the class, without its leading T, unless the
    // class says otherwise.
    const int Info = FEntry.Class->indexOfClassInfo("IncludeFile");
    if (Info >= 0)
        return QString::fromLatin1(FEntry.Class->classInfo(Info).value());
    QString Name = name();
    if (Name.startsWith(QLatin1Char('T')))
        Name.remove(0, 1);
    return Name + QStringLiteral(".h");
}

QIcon TComponentWidget::icon() const
{
    // The palette bitmap is named after the class in capitals.
    return QIcon(QPixmap(QStringLiteral(":/LumitraDLib/%1.bmp").arg(name().toUpper())));
}

QWidget *TComponentWidget::createWidget(QWidget *Parent)
{
    QObject *Object = FEntry.Class->newInstance(Q_ARG(QWidget *, Parent));
    QWidget *Widget = qobject_cast<QWidget *>(Object);
    if (!Widget)
        delete Object;
    return Widget;
}

void TComponentWidget::initialize(QDesignerFormEditorInterface *Core)
{
    if (FInitialized)
        return;
    FInitialized = true;
    if (Core && Core->extensionManager()) {
        QExtensionManager *Manager = Core->extensionManager();
        Manager->registerExtensions(new TEditorTaskMenuFactory(Manager, Core), Q_TYPEID(QDesignerTaskMenuExtension));
    }
}

QString TComponentWidget::domXml() const
{
    Probe();
    QString Name = name();
    if (Name.startsWith(QLatin1Char('T')))
        Name.remove(0, 1);
    return QStringLiteral("<ui language=\"c++\" displayname=\"%1\">\n"
                         " <widget class=\"%1\" name=\"%2\">\n"
                         "  <property name=\"geometry\">\n"
                         "   <rect><x>0</x><y>0</y><width>%3</width><height>%4</height></rect>\n"
                         "  </property>\n"
                         " </widget>\n"
                         "</ui>\n")
        .arg(name(), Name)
        .arg(FDefaultSize.width())
        .arg(FDefaultSize.height());
}

void TComponentWidget::Probe() const
{
    if (FProbed)
        return;
    FProbed = true;
    QObject *Object = FEntry.Class->newInstance(Q_ARG(QWidget *, nullptr));
    if (QWidget *W = qobject_cast<QWidget *>(Object))
        FDefaultSize = W->size();
    if (Object)
        FPropertyTexts = PropertyEditorTexts(Object, nullptr);
    delete Object;
}

TEditorTaskMenuFactory::TEditorTaskMenuFactory(QExtensionManager *Manager, QDesignerFormEditorInterface *Core)
    : QExtensionFactory(Manager), FCore(Core)
{
}

QObject *TEditorTaskMenuFactory::createExtension(QObject *Object, const QString &Iid, QObject *Parent) const
{
    if (Iid != QLatin1String(Q_TYPEID(QDesignerTaskMenuExtension)) || !Object)
        return nullptr;
    bool Ours = false;
    for (const TPaletteEntry &Entry : RegisteredComponents())
        Ours = Ours || Object->metaObject()->inherits(Entry.Class);
    if (!Ours)
        return nullptr;
    return new TEditorTaskMenu(Object, FCore, Parent);
}

TEditorTaskMenu::TEditorTaskMenu(QObject *Component, QDesignerFormEditorInterface *Core, QObject *Parent)
    : QObject(Parent), FComponent(Component), FCore(Core), FEditor(CreateComponentEditor(Component, Core))
{
    if (FEditor) {
        FEditAction = new QAction(QStringLiteral("Edit"), this);
        connect(FEditAction, &QAction::triggered, this, [this] { FEditor->Edit(); });
        const int Count = FEditor->GetVerbCount();
        for (int I = 0; I < Count; ++I) {
            auto *Action = new QAction(FEditor->GetVerb(I), this);
            FEditor->PrepareItem(I, Action);
            connect(Action, &QAction::triggered, this, [this, I] { FEditor->ExecuteVerb(I); });
            FVerbActions.append(Action);
        }
    }
    const QMetaObject *M = Component->metaObject();
    for (int I = 0; I < M->propertyCount(); ++I) {
        const TPropInfo Info{M->property(I)};
        const auto Editor = PropertyEditor(Info);
        if (!Editor || !(Editor->GetAttributes() & AttributeBit(paDialog)))
            continue;
        auto *Action = new QAction(this);
        connect(Action, &QAction::triggered, this, [this, Info] {
            if (const auto E = PropertyEditor(Info))
                E->Edit();
        });
        FPropertyActions.push_back({Action, Info});
    }
}

std::unique_ptr<TPropertyEditor> TEditorTaskMenu::PropertyEditor(const TPropInfo &Info) const
{
    return CreatePropertyEditor(FComponent, Info, FCore);
}

QAction *TEditorTaskMenu::preferredEditAction() const
{
    return FEditAction;
}

QList<QAction *> TEditorTaskMenu::taskActions() const
{
    QList<QAction *> Actions = FVerbActions;
    for (const TPropertyAction &P : FPropertyActions) {
        // The text follows the property's current value.
        if (const auto E = PropertyEditor(P.PropInfo))
            P.Action->setText(E->GetName() + QStringLiteral(": ") + E->GetValue() + QStringLiteral(" ..."));
        Actions.append(P.Action);
    }
    return Actions;
}
