#include "LumitraAboutForm.h"
#include "LumitraReg.h"
#include "ModalCloser.h"

#include "Lumitra.h"

#include <QtGui/QFontInfo>
#include <QtGui/QScreen>
#include <QtWidgets/QPushButton>
#include <gtest/gtest.h>

using namespace DesignIntf;

// A stand-in component whose About value the tests choose.
class TAboutHolder : public QObject
{
    Q_OBJECT
    Q_PROPERTY(qint16 About READ About WRITE SetAbout)
    Q_PROPERTY(qint16 Other READ Other)

public:
    qint16 About() const { return FAbout; }
    void SetAbout(qint16 V) { FAbout = V; }
    qint16 Other() const { return 0; }

private:
    qint16 FAbout = 0x0100;
};

// A descendant of TLumitra with another 16-bit property.
class TLumitraChild : public TLumitra
{
    Q_OBJECT
    Q_PROPERTY(qint16 Spare READ Spare)

public:
    using TLumitra::TLumitra;
    qint16 Spare() const { return 5; }
};

namespace {

class Registration : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ClearRegistrations();
        LumitraReg::Register();
    }
    void TearDown() override { ClearRegistrations(); }
};

TPropInfo Prop(const QObject &O, const char *Name)
{
    return GetPropInfo(O.metaObject(), Name);
}

// The fixed pieces the About box shows when the record cannot be read (the
// test program has none).
const QString EmptyProductName = QStringLiteral("\nVersion  (Build )");
const QString EmptyProductInfo = QStringLiteral("\n\n\n\n\n\nOriginal File Name : ");

} // namespace

TEST_F(Registration, PutsTLumitraOnThePalettePage)
{
    const auto Palette = RegisteredComponents();
    ASSERT_EQ(Palette.size(), 1u);
    EXPECT_EQ(Palette[0].Page, QStringLiteral("Vantorel"));
    EXPECT_EQ(Palette[0].Class, &TLumitra::staticMetaObject);
}

TEST_F(Registration, PropertyEditorBoundByClassTypeAndName)
{
    TLumitra Clock;
    TLumitraChild Child;
    TAboutHolder Holder;
    const auto Editor = CreatePropertyEditor(&Clock, Prop(Clock, "About"), nullptr);
    ASSERT_NE(Editor, nullptr);
    EXPECT_NE(dynamic_cast<TAboutPropertyEditor *>(Editor.get()), nullptr);
    EXPECT_EQ(Editor->GetName(), QStringLiteral("About"));
    EXPECT_EQ(Editor->GetValue(), QStringLiteral("Lumitra Version 1.0"));
    // Descendants share it; another 16-bit property or another class does not.
    EXPECT_NE(CreatePropertyEditor(&Child, Prop(Child, "About"), nullptr), nullptr);
    EXPECT_EQ(CreatePropertyEditor(&Child, Prop(Child, "Spare"), nullptr), nullptr);
    EXPECT_EQ(CreatePropertyEditor(&Holder, Prop(Holder, "About"), nullptr), nullptr);
    EXPECT_EQ(CreatePropertyEditor(&Clock, Prop(Clock, "PixelAngle"), nullptr), nullptr);
    EXPECT_EQ(CreatePropertyEditor(&Clock, Prop(Clock, "NoSuchProperty"), nullptr), nullptr);
}

TEST_F(Registration, ComponentEditorForTLumitraAndDescendants)
{
    TLumitra Clock;
    TLumitraChild Child;
    TAboutHolder Holder;
    EXPECT_NE(dynamic_cast<TAboutComponentEditor *>(CreateComponentEditor(&Clock, nullptr).get()), nullptr);
    EXPECT_NE(dynamic_cast<TAboutComponentEditor *>(CreateComponentEditor(&Child, nullptr).get()), nullptr);
    EXPECT_EQ(CreateComponentEditor(&Holder, nullptr), nullptr);
}

TEST(AboutPropertyEditor, AttributesAndValueText)
{
    TAboutPropertyEditor Editor(nullptr, 1);
    EXPECT_EQ(Editor.GetAttributes(), 0x0444);
    TAboutHolder Holder;
    Editor.SetPropEntry(0, &Holder, Prop(Holder, "About"));
    const struct
    {
        qint16 Value;
        const char *Text;
    } Cases[] = {
        {0x0100, "Lumitra Version 1.0"}, {0, "Lumitra Version 0.0"},       {0x0A0B, "Lumitra Version 10.11"},
        {-1, "Lumitra Version 255.255"}, {-32768, "Lumitra Version 128.0"}, {0x7FFF, "Lumitra Version 127.255"},
        {0x00FF, "Lumitra Version 0.255"},
    };
    for (const auto &C : Cases) {
        Holder.SetAbout(C.Value);
        EXPECT_EQ(Editor.GetValue(), QString::fromLatin1(C.Text)) << C.Value;
    }
}

TEST(AboutComponentEditor, Verbs)
{
    TLumitra Clock;
    TAboutComponentEditor Editor(&Clock, nullptr);
    EXPECT_EQ(Editor.GetVerbCount(), 1);
    EXPECT_EQ(Editor.GetVerb(0), QStringLiteral("About Lumitra ..."));
    for (int Index : {1, -1, 2, INT_MIN})
        EXPECT_EQ(Editor.GetVerb(Index), QString()) << Index;
    TModalCloser Closer;
    for (int Index : {1, -1})
        Editor.ExecuteVerb(Index); // would block until the closer ran, had it shown anything
    QCoreApplication::processEvents();
    EXPECT_TRUE(Closer.Seen.empty());
}

TEST(AboutComponentEditor, EditRunsTheOverriddenVerb)
{
    struct TCounting : TAboutComponentEditor
    {
        using TAboutComponentEditor::TAboutComponentEditor;
        std::vector<int> Run;
        void ExecuteVerb(int Index) override { Run.push_back(Index); }
    };
    TCounting Editor(nullptr, nullptr);
    Editor.Edit();
    EXPECT_EQ(Editor.Run, std::vector<int>{0});
}

TEST(AboutComponentEditor, EachShowingIsAFreshFormDestroyedOnClose)
{
    TLumitra Clock;
    TAboutComponentEditor Editor(&Clock, nullptr);
    TAboutPropertyEditor Property(nullptr, 1);
    Property.SetPropEntry(0, &Clock, Prop(Clock, "About"));
    TModalCloser Closer;
    Editor.ExecuteVerb(0);
    Editor.Edit();
    Property.Edit();
    ASSERT_EQ(Closer.Seen.size(), 3u);
    for (const auto &S : Closer.Seen) {
        EXPECT_EQ(S.ClassName, QStringLiteral("TFormLumitraAbout"));
        EXPECT_TRUE(S.Widget.isNull()) << "the form outlived its showing";
        EXPECT_EQ(S.Title, QString());
        EXPECT_EQ(S.ProductName, EmptyProductName);
        EXPECT_EQ(S.ProductInfo, EmptyProductInfo);
    }
    for (QWidget *W : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<TFormLumitraAbout *>(W), nullptr);
}

TEST(AboutForm, StoredLayout)
{
    TFormLumitraAbout Form;
    EXPECT_EQ(Form.objectName(), QStringLiteral("FormLumitraAbout"));
    EXPECT_EQ(Form.size(), QSize(332, 211));
    EXPECT_EQ(Form.minimumSize(), QSize(332, 211));
    EXPECT_EQ(Form.maximumSize(), QSize(332, 211));
    EXPECT_EQ(qRound(Form.windowOpacity() * 255), 225);
    EXPECT_TRUE(Form.windowFlags() & Qt::MSWindowsFixedSizeDialogHint);
    EXPECT_FALSE(Form.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                                       | Qt::WindowContextHelpButtonHint));
    EXPECT_EQ(Form.palette().color(QPalette::Window), Form.palette().color(QPalette::Button));

    const struct
    {
        QWidget *Control;
        QRect Geometry;
    } Controls[] = {
        {Form.ImageIcon, {8, 4, 48, 48}},         {Form.LabelProductName, {64, 4, 260, 48}},
        {Form.LabelProductInfo, {64, 56, 260, 115}}, {Form.BevelBottomLine, {64, 176, 260, 5}},
        {Form.BitBtnOk, {249, 184, 75, 25}},
    };
    for (const auto &C : Controls) {
        ASSERT_NE(C.Control, nullptr);
        EXPECT_EQ(C.Control->geometry(), C.Geometry) << C.Control->objectName().toStdString();
        EXPECT_FALSE(C.Control->autoFillBackground());
    }
    // Arial by name; on Debian it resolves to a metric-compatible face.
    for (QWidget *W : {static_cast<QWidget *>(&Form), static_cast<QWidget *>(Form.LabelProductInfo)}) {
        EXPECT_EQ(W->font().family(), QStringLiteral("Arial"));
        EXPECT_EQ(W->font().pixelSize(), 11);
        EXPECT_FALSE(W->font().bold());
    }
    EXPECT_EQ(Form.LabelProductName->font().pixelSize(), 13);
    EXPECT_TRUE(Form.LabelProductName->font().bold());
    EXPECT_TRUE(QStringList({"Arial", "Liberation Sans", "Arimo"}).contains(QFontInfo(Form.LabelProductInfo->font()).family()))
        << QFontInfo(Form.LabelProductInfo->font()).family().toStdString();

    EXPECT_EQ(Form.LabelProductName->alignment(), Qt::AlignHCenter | Qt::AlignTop);
    EXPECT_EQ(Form.LabelProductInfo->alignment() & Qt::AlignVertical_Mask, Qt::AlignVCenter);
    EXPECT_TRUE(Form.LabelProductName->wordWrap());
    EXPECT_TRUE(Form.LabelProductInfo->wordWrap());
    EXPECT_EQ(Form.LabelProductInfo->textFormat(), Qt::PlainText);
    EXPECT_EQ(Form.BevelBottomLine->frameShape(), QFrame::HLine);
    EXPECT_EQ(Form.BevelBottomLine->frameShadow(), QFrame::Raised);
    EXPECT_EQ(Form.BitBtnOk->text(), QStringLiteral("OK"));
    EXPECT_TRUE(Form.BitBtnOk->isDefault());
    ASSERT_FALSE(Form.ImageIcon->pixmap().isNull());
    EXPECT_EQ(Form.ImageIcon->pixmap().size(), QSize(48, 48));
}

TEST(AboutForm, CentredOnScreenAndClosedByOk)
{
    TFormLumitraAbout Form;
    Form.move(0, 0);
    QTimer::singleShot(0, &Form, [&Form] {
        const QRect Screen = Form.screen()->geometry();
        const QRect Frame = Form.frameGeometry();
        EXPECT_LE(std::abs(Frame.x() + Frame.width() / 2 - (Screen.x() + Screen.width() / 2)), 2)
            << Frame.x() << " " << Frame.width() << " " << Screen.width();
        EXPECT_LE(std::abs(Frame.y() + Frame.height() / 2 - (Screen.y() + Screen.height() / 2)), 2)
            << Frame.y() << " " << Frame.height() << " " << Screen.height();
        EXPECT_EQ(Form.focusWidget(), Form.BitBtnOk);
        Form.BitBtnOk->click();
    });
    EXPECT_EQ(Form.ShowModal(), QDialog::Accepted);
}

#include "test_about_editors.moc"
