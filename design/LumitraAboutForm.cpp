#include "LumitraAboutForm.h"

#include "LumitraResources.h"
#include "VersionApi.h"
#include "ui_TFormLumitraAbout.h"

#include <QtGui/QScreen>
#include <QtWidgets/QStyle>
#include <cstring>
#include <new>

namespace {

// Any address inside this module names the module to dladdr.
void ModuleAnchor() {}

const char *const ItemKeys[11] = {
    "CompanyName", "FileDescription", "FileVersion", "InternalName", "LegalCopyright", "LegalTrademarks",
    "Author", "OriginalFilename", "ProductName", "ProductVersion", "Comments",
};

struct TFlagWord
{
    std::uint32_t Bit;
    const char *Word;
};

const TFlagWord FlagWords[] = {
    {0x01, "Debug,"}, {0x10, "InfoInferred,"}, {0x04, "Patched,"},
    {0x02, "PreRelease,"}, {0x08, "PrivateBuild,"}, {0x20, "SpecialBuild,"},
};

const char *FileTypeName(std::uint32_t Type)
{
    switch (Type) {
    case 0: return "Unknown File Type";
    case 1: return "Application";
    case 2: return "Dynamic-Link Library";
    case 3: return "Device Driver";
    case 4: return "Font";
    case 5: return "Virtual Device";
    case 7: return "Static-Link Library";
    default: return "";
    }
}

// The stored form keeps character heights in pixels as the dynamic property
// "fontPixelSize"; a .ui font has only point sizes.
void ApplyPixelFont(QWidget *W)
{
    const QVariant Size = W->property("fontPixelSize");
    if (!Size.isValid())
        return;
    QFont F = W->font();
    F.setPixelSize(Size.toInt());
    W->setFont(F);
}

QString Text(const std::string &S)
{
    return QString::fromUtf8(S.data(), qsizetype(S.size()));
}

} // namespace

TFormLumitraAbout::TVersionInfo::TVersionInfo()
{
    char Path[4096];
    if (LumitraVersion::GetModuleFileName(reinterpret_cast<const void *>(&ModuleAnchor), Path, sizeof Path) == 0)
        Path[0] = '\0';
    Read(Path);
}

TFormLumitraAbout::TVersionInfo::TVersionInfo(const char *ModulePath)
{
    Read(ModulePath);
}

TFormLumitraAbout::TVersionInfo::~TVersionInfo() = default;

void TFormLumitraAbout::TVersionInfo::Read(const char *ModulePath)
{
    std::uint32_t Handle = 0;
    const std::uint32_t Size = LumitraVersion::GetFileVersionInfoSize(ModulePath, &Handle);
    if (Size == 0)
        return;
    FBuffer.reset(new (std::nothrow) char[Size]);
    if (!FBuffer)
        return;
    if (!LumitraVersion::GetFileVersionInfo(ModulePath, Handle, Size, FBuffer.get()))
        return;
    for (int I = 0; I < ItemCount; ++I)
        FItems[I] = ReadItem(I);
}

std::string TFormLumitraAbout::TVersionInfo::GetItem(int Index) const
{
    return unsigned(Index) < unsigned(ItemCount) ? FItems[Index] : std::string();
}

std::string TFormLumitraAbout::TVersionInfo::ReadItem(int Index) const
{
    if (!FBuffer)
        return {};
    void *Value = nullptr;
    std::uint32_t Length = 0;
    if (Index == 11) {
        if (!LumitraVersion::VerQueryValue(FBuffer.get(), "\\", &Value, &Length))
            return {};
        LumitraVersion::TFixedFileInfo Info;
        std::memcpy(&Info, Value, sizeof Info);
        std::string Result;
        for (const TFlagWord &F : FlagWords)
            if ((Info.dwFileFlagsMask & F.Bit) && (Info.dwFileFlags & F.Bit))
                Result += F.Word;
        return Result + FileTypeName(Info.dwFileType);
    }
    if (Index < 0 || Index > 10)
        return {};
    const std::string Path = std::string("\\StringFileInfo\\040904E4\\") + ItemKeys[Index];
    if (!LumitraVersion::VerQueryValue(FBuffer.get(), Path.c_str(), &Value, &Length))
        return {};
    return std::string(static_cast<const char *>(Value)); // up to the first NUL
}

TFormLumitraAbout::TFormLumitraAbout()
{
    LumitraDesign::InitResources();
    Ui::TFormLumitraAbout Ui;
    Ui.setupUi(this);
    ImageIcon = Ui.ImageIcon;
    LabelProductName = Ui.LabelProductName;
    LabelProductInfo = Ui.LabelProductInfo;
    BevelBottomLine = Ui.BevelBottomLine;
    BitBtnOk = Ui.BitBtnOk;

    // A fixed dialog border with the system menu only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(size());
    QPalette P = palette();
    P.setColor(QPalette::Window, P.color(QPalette::Button));
    setPalette(P);
    for (QWidget *W : {static_cast<QWidget *>(this), static_cast<QWidget *>(LabelProductName),
                       static_cast<QWidget *>(LabelProductInfo)})
        ApplyPixelFont(W);
    BitBtnOk->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtnOk->setFocus();

    FVersionInfo = std::make_unique<TVersionInfo>();
    const TVersionInfo &V = *FVersionInfo;
    setWindowTitle(Text(V.GetItem(3)));
    LabelProductName->setText(Text(V.GetItem(8) + "\nVersion " + V.GetItem(9) + " (Build " + V.GetItem(2) + ")"));
    LabelProductInfo->setText(Text(V.GetItem(4) + "\n\n" + V.GetItem(5) + "\n\n" + V.GetItem(1)
                                   + "\n\nOriginal File Name : " + V.GetItem(7)));
    ImageIcon->setPixmap(QPixmap(QStringLiteral(":/LumitraDLib/TLUMITRA48.bmp")));
    CenterOnScreen();
}

TFormLumitraAbout::~TFormLumitraAbout() = default;

int TFormLumitraAbout::ShowModal()
{
    return exec();
}

void TFormLumitraAbout::showEvent(QShowEvent *Event)
{
    CenterOnScreen();
    QDialog::showEvent(Event);
}

void TFormLumitraAbout::CenterOnScreen()
{
    const QScreen *S = screen();
    if (!S)
        return;
    const QRect Area = S->geometry();
    move(Area.x() + (Area.width() - width()) / 2, Area.y() + (Area.height() - height()) / 2);
}
