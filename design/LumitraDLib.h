// The Qt Designer side of the plugin: a widget collection that runs Register
// once and offers every registered component in Designer's widget box, and a
// task-menu extension that shows the component editor's verbs and the
// dialog-opening property editors in the form's context menu.
#pragma once

#include "DesignIntf.h"

#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>
#include <QtGui/QAction>
#include <memory>

class TLumitraWidgetCollection : public QObject, public QDesignerCustomWidgetCollectionInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface" FILE "LumitraDLib.json")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit TLumitraWidgetCollection(QObject *Parent = nullptr);
    QList<QDesignerCustomWidgetInterface *> customWidgets() const override;

private:
    QList<QDesignerCustomWidgetInterface *> FWidgets;
};

// One registered component as Designer sees it.
class TComponentWidget : public QObject, public QDesignerCustomWidgetInterface
{
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    TComponentWidget(const DesignIntf::TPaletteEntry &Entry, QObject *Parent);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override { return false; }
    QWidget *createWidget(QWidget *Parent) override;
    bool isInitialized() const override { return FInitialized; }
    void initialize(QDesignerFormEditorInterface *Core) override;
    QString domXml() const override;

private:
    // Facts read once from a throwaway instance: its size and the texts of
    // its property editors.
    void Probe() const;

    DesignIntf::TPaletteEntry FEntry;
    bool FInitialized = false;
    mutable bool FProbed = false;
    mutable QSize FDefaultSize;
    mutable QStringList FPropertyTexts;
};

class TEditorTaskMenuFactory : public QExtensionFactory
{
    Q_OBJECT

public:
    TEditorTaskMenuFactory(QExtensionManager *Manager, QDesignerFormEditorInterface *Core);

protected:
    QObject *createExtension(QObject *Object, const QString &Iid, QObject *Parent) const override;

private:
    QDesignerFormEditorInterface *FCore;
};

// The context-menu entries of one component on a form: the component
// editor's verbs, then one entry per property editor that opens a dialog
// (its name and text, as the property inspector would show them). A double
// click runs the component editor's Edit.
class TEditorTaskMenu : public QObject, public QDesignerTaskMenuExtension
{
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)

public:
    TEditorTaskMenu(QObject *Component, QDesignerFormEditorInterface *Core, QObject *Parent);

    QAction *preferredEditAction() const override;
    QList<QAction *> taskActions() const override;

private:
    struct TPropertyAction
    {
        QAction *Action;
        DesignIntf::TPropInfo PropInfo;
    };
    std::unique_ptr<DesignIntf::TPropertyEditor> PropertyEditor(const DesignIntf::TPropInfo &Info) const;

    QObject *FComponent;
    QDesignerFormEditorInterface *FCore;
    std::unique_ptr<DesignIntf::TComponentEditor> FEditor;
    QAction *FEditAction = nullptr;
    QList<QAction *> FVerbActions;
    std::vector<TPropertyAction> FPropertyActions;
};

// Texts of the dialog-opening property editors bound to Component's
// properties, as "Name: Value".
QStringList PropertyEditorTexts(QObject *Component, QDesignerFormEditorInterface *Core);
