// The plugin as Qt Designer, QUiLoader and uic meet it.
#include "Lumitra.h"
#include "ModalCloser.h"
#include "ui_ClockForm.h"

#include <QtCore/QBuffer>
#include <QtCore/QJsonObject>
#include <QtCore/QPluginLoader>
#include <QtCore/QTemporaryDir>
#include <QtCore/QXmlStreamReader>
#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerIntegration>
#include <QtDesigner/QDesignerPropertyEditorInterface>
#include <QtDesigner/QDesignerWidgetBoxInterface>
#include <QtDesigner/QDesignerObjectInspectorInterface>
#include <QtDesigner/QDesignerActionEditorInterface>
#include <QtWidgets/QMainWindow>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionManager>
#include <QtTest/QTest>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiTools/QUiLoader>
#include <gtest/gtest.h>

namespace {

QJsonObject Path(QJsonObject O, std::initializer_list<const char *> Keys)
{
    for (const char *K : Keys)
        O = O.value(QLatin1String(K)).toObject();
    return O;
}

QJsonObject PluginMetaData()
{
    return QPluginLoader(QStringLiteral(LUMITRA_DLIB_PATH)).metaData();
}

QDesignerCustomWidgetInterface *LumitraWidget()
{
    QPluginLoader Loader(QStringLiteral(LUMITRA_DLIB_PATH));
    auto *Collection = qobject_cast<QDesignerCustomWidgetCollectionInterface *>(Loader.instance());
    if (!Collection)
        return nullptr;
    const auto Widgets = Collection->customWidgets();
    return Widgets.size() == 1 ? Widgets.front() : nullptr;
}

// What the About box of the plugin shows, composed from its record.
struct TAboutTexts
{
    QString Title, ProductName, ProductInfo;
};

TAboutTexts ExpectedAbout()
{
    const QJsonObject S = Path(PluginMetaData(), {"MetaData", "VersionInfo", "StringFileInfo", "040904E4"});
    auto Item = [&S](const char *Key) { return S.value(QLatin1String(Key)).toString(); };
    return {Item("InternalName"),
            Item("ProductName") + "\nVersion " + Item("ProductVersion") + " (Build " + Item("FileVersion") + ")",
            Item("LegalCopyright") + "\n\n" + Item("LegalTrademarks") + "\n\n" + Item("FileDescription")
                + "\n\nOriginal File Name : " + Item("OriginalFilename")};
}

void ExpectDesignAbout(const TModalCloser::TSeen &Seen)
{
    const TAboutTexts E = ExpectedAbout();
    EXPECT_EQ(Seen.ClassName, QStringLiteral("TFormLumitraAbout"));
    EXPECT_EQ(Seen.Title, QStringLiteral("LumitraDLib"));
    EXPECT_EQ(Seen.Title, E.Title);
    EXPECT_TRUE(Seen.ProductName.endsWith(QStringLiteral("\nVersion 1.0 (Build 1.0.1.2)")))
        << Seen.ProductName.toStdString();
    EXPECT_EQ(Seen.ProductName, E.ProductName);
    EXPECT_EQ(Seen.ProductInfo, E.ProductInfo);
    EXPECT_TRUE(Seen.ProductInfo.endsWith(QStringLiteral("\n\nOriginal File Name : libLumitraDLib.so")));
    EXPECT_TRUE(Seen.Widget.isNull());
}

// Every property a form changes, with the value it sets, in declared order.
const std::vector<std::pair<const char *, QVariant>> &ChangedProperties()
{
    static const std::vector<std::pair<const char *, QVariant>> P = {
        {"FramesPerSecond", 30},
        {"ClockStyle", int(TLumitra::csTwistedClock)},
        {"ClockHourStyle", int(TLumitra::hs12HourTime)},
        {"PixDistance", 20},
        {"PixelAngle", 8},
        {"ClockRadius", 30},
        {"ClockDistance", 12000},
        {"RotX", 1.5},
        {"RotY", 2.25},
        {"RotZ", -0.5},
        {"IRotX", 10},
        {"IRotY", 20},
        {"IRotZ", 45},
        {"ClockColor", QColor(255, 16, 32)},
        {"ImageSourcePointX", 3},
        {"ImageSourcePointY", -4},
        {"Stretched", true},
        {"Priority", int(LumitraHost::tpHigher)},
    };
    return P;
}

void ExpectChangedProperties(const QObject *Clock, const char *Where)
{
    ASSERT_NE(Clock, nullptr) << Where;
    EXPECT_STREQ(Clock->metaObject()->className(), "TLumitra") << Where;
    for (const auto &[Name, Value] : ChangedProperties()) {
        const QVariant Got = Clock->property(Name);
        if (Value.typeId() == QMetaType::QColor)
            EXPECT_EQ(Got.value<QColor>(), Value.value<QColor>()) << Where << " " << Name;
        else if (Value.typeId() == QMetaType::Double)
            EXPECT_DOUBLE_EQ(Got.toDouble(), Value.toDouble()) << Where << " " << Name;
        else
            EXPECT_EQ(Got.toInt(), Value.toInt()) << Where << " " << Name;
    }
    EXPECT_EQ(Clock->property("About").toInt(), 256) << Where;
    EXPECT_FALSE(Clock->property("Active").toBool()) << Where;
}

QWidget *LoadWithUiLoader(const QByteArray &Ui, QWidget *Parent)
{
    QUiLoader Loader;
    Loader.clearPluginPaths();
    Loader.addPluginPath(QStringLiteral(LUMITRA_PLUGIN_DIR));
    QBuffer Buffer;
    Buffer.setData(Ui);
    Buffer.open(QIODevice::ReadOnly);
    QWidget *Form = Loader.load(&Buffer, Parent);
    EXPECT_NE(Form, nullptr) << Loader.errorString().toStdString();
    return Form;
}

QByteArray ReadFile(const QString &Path)
{
    QFile F(Path);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

// The names of the properties written for the widget of class ClassName.
QStringList SavedProperties(const QString &Xml, const QString &ClassName)
{
    QStringList Names;
    QXmlStreamReader R(Xml);
    int Depth = 0, WidgetDepth = -1;
    while (!R.atEnd()) {
        R.readNext();
        if (R.isStartElement()) {
            ++Depth;
            if (R.name() == QLatin1String("widget") && R.attributes().value("class") == ClassName)
                WidgetDepth = Depth;
            else if (WidgetDepth > 0 && Depth == WidgetDepth + 1 && R.name() == QLatin1String("property"))
                Names << R.attributes().value("name").toString();
        } else if (R.isEndElement()) {
            if (Depth == WidgetDepth)
                WidgetDepth = -1;
            --Depth;
        }
    }
    return Names;
}

QDesignerFormEditorInterface *Designer()
{
    static QDesignerFormEditorInterface *Core = [] {
        QDesignerComponents::initializeResources();
        QDesignerFormEditorInterface *C = QDesignerComponents::createFormEditor(nullptr);
        QDesignerComponents::initializePlugins(C);
        // The parts of Designer's main window that the form editor reaches.
        auto *Main = new QMainWindow;
        C->setTopLevel(Main);
        C->setWidgetBox(QDesignerComponents::createWidgetBox(C, Main));
        C->setPropertyEditor(QDesignerComponents::createPropertyEditor(C, Main));
        C->setObjectInspector(QDesignerComponents::createObjectInspector(C, Main));
        C->setActionEditor(QDesignerComponents::createActionEditor(C, Main));
        new QDesignerIntegration(C, C);
        return C;
    }();
    return Core;
}

} // namespace

TEST(Plugin, MetaDataReadableWithoutLoading)
{
    QPluginLoader Loader(QStringLiteral(LUMITRA_DLIB_PATH));
    const QJsonObject Meta = Loader.metaData();
    EXPECT_FALSE(Loader.isLoaded());
    EXPECT_EQ(Meta["IID"].toString(), QStringLiteral("org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface"));
    const QJsonObject Data = Meta["MetaData"].toObject();
    EXPECT_EQ(Data["Description"].toString(), QStringLiteral("Lumitra Designtime Library"));
    const QJsonObject Fixed = Path(Data, {"VersionInfo", "FixedFileInfo"});
    EXPECT_EQ(Fixed["FileVersion"].toString(), QStringLiteral("1.0.1.2"));
    EXPECT_EQ(Fixed["ProductVersion"].toString(), QStringLiteral("1.0.1.2"));
    EXPECT_EQ(Fixed["FileFlagsMask"].toInt(), 0x3F);
    EXPECT_EQ(Fixed["FileFlags"].toInt(), 0);
    EXPECT_EQ(Fixed["FileOS"].toInt(), 4);
    EXPECT_EQ(Fixed["FileType"].toInt(), 2);
    const QJsonObject S = Path(Data, {"VersionInfo", "StringFileInfo", "040904E4"});
    EXPECT_EQ(S.keys(), QStringList({"Comments", "CompanyName", "FileDescription", "FileVersion", "InternalName",
                                     "LegalCopyright", "LegalTrademarks", "OriginalFilename", "ProductName",
                                     "ProductVersion"}));
    EXPECT_EQ(S["Comments"].toString(), QStringLiteral("Vantorel"));
    EXPECT_EQ(S["ProductName"].toString(), QStringLiteral("Lumitra Component Designtime Library"));
    EXPECT_EQ(S["ProductVersion"].toString(), QStringLiteral("1.0"));
}

TEST(Plugin, CollectionOffersTLumitra)
{
    QDesignerCustomWidgetInterface *W = LumitraWidget();
    ASSERT_NE(W, nullptr);
    EXPECT_EQ(W->name(), QStringLiteral("TLumitra"));
    EXPECT_EQ(W->group(), QStringLiteral("Vantorel"));
    EXPECT_EQ(W->includeFile(), QStringLiteral("Lumitra.h"));
    EXPECT_FALSE(W->isContainer());
    EXPECT_EQ(W->icon().availableSizes(), QList<QSize>{QSize(24, 24)});
    EXPECT_TRUE(W->toolTip().contains(QStringLiteral("Lumitra Version 1.0")));
    EXPECT_TRUE(W->whatsThis().contains(QStringLiteral("About: Lumitra Version 1.0")));
    const QString Dom = W->domXml();
    EXPECT_TRUE(Dom.contains(QStringLiteral("<widget class=\"TLumitra\" name=\"Lumitra\">")));
    EXPECT_TRUE(Dom.contains(QStringLiteral("<width>128</width><height>128</height>")));

    QWidget Parent;
    QWidget *Clock = W->createWidget(&Parent);
    ASSERT_NE(Clock, nullptr);
    EXPECT_STREQ(Clock->metaObject()->className(), "TLumitra");
    EXPECT_EQ(Clock->parentWidget(), &Parent);
    EXPECT_EQ(Clock->size(), QSize(128, 128));
}

TEST(Plugin, PaletteBitmapFollowsTheLocale)
{
    QDesignerCustomWidgetInterface *W = LumitraWidget();
    ASSERT_NE(W, nullptr);
    const QLocale Saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QImage Neutral = QImage(QStringLiteral(":/LumitraDLib/TLUMITRA.bmp"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QImage English = QImage(QStringLiteral(":/LumitraDLib/TLUMITRA.bmp"));
    QLocale::setDefault(Saved);
    ASSERT_EQ(Neutral.size(), QSize(24, 24));
    ASSERT_EQ(English.size(), QSize(24, 24));
    EXPECT_EQ(Neutral.format(), QImage::Format_Indexed8);
    EXPECT_EQ(Neutral.colorCount(), 256);
    EXPECT_NE(Neutral.colorTable(), English.colorTable());
    EXPECT_NE(Neutral.convertToFormat(QImage::Format_RGB32), English.convertToFormat(QImage::Format_RGB32));
    const QImage About(QStringLiteral(":/LumitraDLib/TLUMITRA48.bmp"));
    EXPECT_EQ(About.size(), QSize(48, 48));
    EXPECT_EQ(About.depth(), 32); // read as RGB32 from 24 bits
}

TEST(Plugin, UicAndUiLoaderApplyEveryChangedProperty)
{
    QWidget Host;
    Ui::ClockForm Ui;
    Ui.setupUi(&Host);
    ExpectChangedProperties(Ui.Lumitra, "uic");
    EXPECT_EQ(Ui.Lumitra->geometry(), QRect(10, 20, 150, 140));

    QWidget *Loaded = LoadWithUiLoader(ReadFile(QStringLiteral(LUMITRA_CLOCKFORM_UI)), &Host);
    ASSERT_NE(Loaded, nullptr);
    QWidget *Clock = Loaded->findChild<QWidget *>(QStringLiteral("Lumitra"));
    ExpectChangedProperties(Clock, "QUiLoader");
    EXPECT_EQ(Clock->geometry(), QRect(10, 20, 150, 140));
}

class DesignerForm : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Core = Designer();
        ASSERT_NE(Core, nullptr);
        QDesignerCustomWidgetInterface *W = LumitraWidget();
        ASSERT_NE(W, nullptr);
        // Put a TLumitra on a form the way a drop from the widget box does:
        // with the plugin's own description of a new instance.
        QString Dom = W->domXml();
        const int Start = Dom.indexOf(QStringLiteral("<widget"));
        const int End = Dom.lastIndexOf(QStringLiteral("</widget>")) + 9;
        const QString Form = QStringLiteral(
                                 "<ui version=\"4.0\"><class>Form</class>"
                                 "<widget class=\"QWidget\" name=\"Form\"><property name=\"geometry\"><rect><x>0</x>"
                                 "<y>0</y><width>400</width><height>300</height></rect></property>%1</widget></ui>")
                                 .arg(Dom.mid(Start, End - Start));
        Window = Core->formWindowManager()->createFormWindow(nullptr);
        ASSERT_NE(Window, nullptr);
        Window->setContents(Form);
        Core->formWindowManager()->setActiveFormWindow(Window);
        // Left hidden: Designer shows form windows only inside its own
        // main window.
        Window->resize(400, 300);
        Clock = Window->mainContainer()->findChild<QWidget *>(QStringLiteral("Lumitra"));
        ASSERT_NE(Clock, nullptr);
    }
    void TearDown() override { delete Window; }

    QDesignerFormEditorInterface *Core = nullptr;
    QDesignerFormWindowInterface *Window = nullptr;
    QWidget *Clock = nullptr;
};

TEST_F(DesignerForm, TaskMenuShowsTheVerbAndTheAboutProperty)
{
    EXPECT_STREQ(Clock->metaObject()->className(), "TLumitra");
    auto *Menu = qt_extension<QDesignerTaskMenuExtension *>(Core->extensionManager(), Clock);
    ASSERT_NE(Menu, nullptr);
    const QList<QAction *> Actions = Menu->taskActions();
    ASSERT_EQ(Actions.size(), 2);
    EXPECT_EQ(Actions[0]->text(), QStringLiteral("About Lumitra ..."));
    EXPECT_EQ(Actions[1]->text(), QStringLiteral("About: Lumitra Version 1.0 ..."));
    ASSERT_NE(Menu->preferredEditAction(), nullptr);

    TModalCloser Closer;
    Actions[0]->trigger();
    Actions[1]->trigger();
    Menu->preferredEditAction()->trigger();
    ASSERT_EQ(Closer.Seen.size(), 3u);
    for (const auto &S : Closer.Seen)
        ExpectDesignAbout(S);
}

TEST_F(DesignerForm, DoubleClickOpensTheAboutBox)
{
    Window->clearSelection(false);
    Window->selectWidget(Clock, true);
    TModalCloser Closer;
    QTest::mouseDClick(Clock, Qt::LeftButton, {}, QPoint(20, 20));
    // The designer runs its default action from the event loop.
    for (int I = 0; I < 100 && Closer.Seen.empty(); ++I)
        QTest::qWait(20);
    ASSERT_EQ(Closer.Seen.size(), 1u);
    ExpectDesignAbout(Closer.Seen.front());
}

TEST_F(DesignerForm, SavedFormHoldsChangedPropertiesInOrderAndNoAbout)
{
    for (const auto &[Name, Value] : ChangedProperties())
        Window->cursor()->setWidgetProperty(Clock, QString::fromLatin1(Name), Value);
    ExpectChangedProperties(Clock, "designer form");

    const QString Xml = Window->contents();
    QStringList Expected{QStringLiteral("geometry")};
    for (const auto &[Name, Value] : ChangedProperties())
        Expected << QString::fromLatin1(Name);
    EXPECT_EQ(SavedProperties(Xml, QStringLiteral("TLumitra")), Expected) << Xml.toStdString();
    EXPECT_FALSE(Xml.contains(QStringLiteral("\"About\"")));
    EXPECT_TRUE(Xml.contains(QStringLiteral("<header>Lumitra.h</header>"))) << Xml.toStdString();

    // Saved and read again, by QUiLoader and by Designer itself.
    QWidget Host;
    QWidget *Loaded = LoadWithUiLoader(Xml.toUtf8(), &Host);
    ASSERT_NE(Loaded, nullptr);
    ExpectChangedProperties(Loaded->findChild<QWidget *>(QStringLiteral("Lumitra")), "QUiLoader of saved form");

    QDesignerFormWindowInterface *Again = Core->formWindowManager()->createFormWindow(nullptr);
    Again->setContents(Xml);
    ExpectChangedProperties(Again->mainContainer()->findChild<QWidget *>(QStringLiteral("Lumitra")),
                            "designer, reloaded");
    EXPECT_EQ(SavedProperties(Again->contents(), QStringLiteral("TLumitra")), Expected);
    delete Again;
}
