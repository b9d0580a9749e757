#include "LumitraAboutForm.h"
#include "VersionApi.h"

#include <QtCore/QDir>
#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <gtest/gtest.h>
#include <climits>
#include <cstring>

using TVersionInfo = TFormLumitraAbout::TVersionInfo;

class TVersionInfoProbe
{
public:
    static std::unique_ptr<TVersionInfo> FromPath(const char *Path)
    {
        return std::unique_ptr<TVersionInfo>(new TVersionInfo(Path));
    }
    // A reader whose block is Block, read as the constructor reads its own.
    static std::unique_ptr<TVersionInfo> FromBlock(const QByteArray &Block)
    {
        auto V = FromPath("");
        V->FBuffer.reset(new char[std::size_t(Block.size())]);
        std::memcpy(V->FBuffer.get(), Block.constData(), std::size_t(Block.size()));
        for (int I = 0; I < TVersionInfo::ItemCount; ++I)
            V->FItems[I] = V->ReadItem(I);
        return V;
    }
};

namespace {

QJsonObject Fixed(int Mask, int Flags, int Type)
{
    return QJsonObject{{"FileVersion", "1.2.3.4"}, {"ProductVersion", "1.2.3.4"}, {"FileFlagsMask", Mask},
                       {"FileFlags", Flags},        {"FileOS", 4},                 {"FileType", Type}};
}

QJsonObject Record(const QJsonObject &FixedInfo, const QString &Table, const QJsonObject &Strings)
{
    QJsonObject R;
    if (!FixedInfo.isEmpty())
        R["FixedFileInfo"] = FixedInfo;
    if (!Table.isEmpty())
        R["StringFileInfo"] = QJsonObject{{Table, Strings}};
    R["VarFileInfo"] = QJsonObject{{"Translation", QJsonArray{1033, 1252}}};
    return R;
}

std::vector<std::string> Items(const TVersionInfo &V)
{
    std::vector<std::string> R;
    for (int I = 0; I < TVersionInfo::ItemCount; ++I)
        R.push_back(V.GetItem(I));
    return R;
}

const QJsonObject AllKeys{
    {"CompanyName", "Co"},        {"FileDescription", "Desc"}, {"FileVersion", "1.2.3.4"},
    {"InternalName", "Int"},      {"LegalCopyright", "(C)"},   {"LegalTrademarks", "TM"},
    {"Author", "Au"},             {"OriginalFilename", "f.so"}, {"ProductName", "Prod"},
    {"ProductVersion", "1.2"},    {"Comments", "Com"},
};

} // namespace

TEST(VersionInfo, DesignPackageRecord)
{
    const auto V = TVersionInfoProbe::FromPath(LUMITRA_DLIB_PATH);
    EXPECT_EQ(V->GetItem(0), "Vantorel");
    EXPECT_EQ(V->GetItem(2), "1.0.1.2");
    EXPECT_EQ(V->GetItem(3), "LumitraDLib");
    EXPECT_EQ(V->GetItem(6), "");
    EXPECT_EQ(V->GetItem(7), "libLumitraDLib.so");
    EXPECT_EQ(V->GetItem(8), "Lumitra Component Designtime Library");
    EXPECT_EQ(V->GetItem(9), "1.0");
    EXPECT_EQ(V->GetItem(10), "Vantorel");
    EXPECT_EQ(V->GetItem(11), "Dynamic-Link Library");
    EXPECT_NE(V->GetItem(1).find("TLumitra"), std::string::npos);

    // A module opened by a relative path is found from the current folder.
    const QByteArray Relative = QDir::current().relativeFilePath(QStringLiteral(LUMITRA_DLIB_PATH)).toLocal8Bit();
    ASSERT_FALSE(QDir::isAbsolutePath(QString::fromLocal8Bit(Relative)));
    EXPECT_EQ(TVersionInfoProbe::FromPath(Relative.constData())->GetItem(3), "LumitraDLib");
}

TEST(VersionInfo, FilesWithoutRecordGiveEmptyTexts)
{
    for (const char *Path : {"", "/nonexistent/libLumitraDLib.so", LUMITRA_RLIB_PATH}) {
        const auto V = TVersionInfoProbe::FromPath(Path);
        EXPECT_EQ(Items(*V), std::vector<std::string>(12)) << Path;
    }
    // The test program itself carries no record: its own reader is empty.
    TVersionInfo Own;
    EXPECT_EQ(Items(Own), std::vector<std::string>(12));
}

TEST(VersionInfo, SyntheticRecords)
{
    QJsonObject WithNul = AllKeys;
    WithNul["Comments"] = QString::fromUtf8("Van\0torel", 9);
    QJsonObject Missing = AllKeys;
    Missing.remove("LegalTrademarks");
    Missing.remove("Author");
    const std::vector<std::string> All = {"Co", "Desc", "1.2.3.4", "Int", "(C)", "TM",
                                          "Au", "f.so", "Prod",    "1.2", "Com"};
    struct TCase
    {
        const char *Name;
        QJsonObject Record;
        std::vector<std::string> Expected; // items 0..11
    };
    auto With = [&](std::vector<std::string> Strings, std::string Summary) {
        Strings.push_back(Summary);
        return Strings;
    };
    const std::vector<std::string> NoStrings(11);
    const std::vector<TCase> Cases = {
        {"all keys, plain DLL", Record(Fixed(0x3F, 0, 2), "040904E4", AllKeys), With(All, "Dynamic-Link Library")},
        {"key lookup ignores case of the table name", Record(Fixed(0x3F, 0, 2), "040904e4", AllKeys),
         With(All, "Dynamic-Link Library")},
        {"other language: strings empty, summary read", Record(Fixed(0x3F, 0x03, 1), "040704B0", AllKeys),
         With(NoStrings, "Debug,PreRelease,Application")},
        {"other code page", Record(Fixed(0, 0, 3), "040904B0", AllKeys), With(NoStrings, "Device Driver")},
        {"missing keys", Record(Fixed(0x3F, 0, 4), "040904E4", Missing),
         With({"Co", "Desc", "1.2.3.4", "Int", "(C)", "", "", "f.so", "Prod", "1.2", "Com"}, "Font")},
        {"NUL inside a value", Record(Fixed(0x3F, 0, 5), "040904E4", WithNul),
         With({"Co", "Desc", "1.2.3.4", "Int", "(C)", "TM", "Au", "f.so", "Prod", "1.2", "Van"}, "Virtual Device")},
        {"no fixed record", Record({}, "040904E4", AllKeys), With(All, "")},
        {"no string table", Record(Fixed(0x3F, 0, 7), "", {}), With(NoStrings, "Static-Link Library")},
        {"every flag, in table order", Record(Fixed(0x3F, 0x3F, 0), "", {}),
         With(NoStrings, "Debug,InfoInferred,Patched,PreRelease,PrivateBuild,SpecialBuild,Unknown File Type")},
        {"flag set but masked out", Record(Fixed(0x3E, 0x01, 1), "", {}), With(NoStrings, "Application")},
        {"flag in mask only", Record(Fixed(0x01, 0x00, 1), "", {}), With(NoStrings, "Application")},
        {"type 6, no flags", Record(Fixed(0x3F, 0, 6), "", {}), With(NoStrings, "")},
        {"type 6, debug", Record(Fixed(0x3F, 0x01, 6), "", {}), With(NoStrings, "Debug,")},
        {"type above 7", Record(Fixed(0x3F, 0x20, 8), "", {}), With(NoStrings, "SpecialBuild,")},
        {"type 0xFFFFFFFF", Record(Fixed(0, 0, -1), "", {}), With(NoStrings, "")},
    };
    for (const TCase &C : Cases) {
        const QByteArray Block = LumitraVersion::BuildVersionBlock(C.Record);
        ASSERT_FALSE(Block.isEmpty()) << C.Name;
        EXPECT_EQ(Items(*TVersionInfoProbe::FromBlock(Block)), C.Expected) << C.Name;
    }
}

TEST(VersionInfo, GetItemOutOfRangeIsEmpty)
{
    const auto V = TVersionInfoProbe::FromBlock(
        LumitraVersion::BuildVersionBlock(Record(Fixed(0x3F, 0, 2), "040904E4", AllKeys)));
    EXPECT_EQ(V->GetItem(0), "Co");
    EXPECT_EQ(V->GetItem(11), "Dynamic-Link Library");
    for (int Index : {12, 13, -1, -12, 1000, INT_MAX, INT_MIN})
        EXPECT_EQ(V->GetItem(Index), "") << Index;
}

TEST(VerQueryValue, Paths)
{
    const QByteArray Block = LumitraVersion::BuildVersionBlock(Record(Fixed(0x3F, 0, 2), "040904E4", AllKeys));
    void *Value = nullptr;
    std::uint32_t Length = 0;
    ASSERT_TRUE(LumitraVersion::VerQueryValue(Block.constData(), "\\", &Value, &Length));
    EXPECT_EQ(Length, sizeof(LumitraVersion::TFixedFileInfo));
    LumitraVersion::TFixedFileInfo Info;
    std::memcpy(&Info, Value, sizeof Info);
    EXPECT_EQ(Info.dwSignature, LumitraVersion::FixedFileInfoSignature);
    EXPECT_EQ(Info.dwFileVersionMS, 0x00010002u);
    EXPECT_EQ(Info.dwFileVersionLS, 0x00030004u);
    EXPECT_EQ(Info.dwFileType, 2u);

    ASSERT_TRUE(LumitraVersion::VerQueryValue(Block.constData(), "\\StringFileInfo\\040904E4\\ProductName", &Value, &Length));
    EXPECT_STREQ(static_cast<const char *>(Value), "Prod");
    EXPECT_EQ(Length, 5u);
    ASSERT_TRUE(LumitraVersion::VerQueryValue(Block.constData(), "\\VarFileInfo\\Translation", &Value, &Length));
    ASSERT_EQ(Length, 4u);
    EXPECT_EQ(std::memcmp(Value, "\x09\x04\xE4\x04", 4), 0);
    for (const char *Missing : {"\\StringFileInfo\\040904E4\\Nothing", "\\Nothing", "\\StringFileInfo\\0409",
                                "\\StringFileInfo\\040904E4\\ProductName\\More"})
        EXPECT_FALSE(LumitraVersion::VerQueryValue(Block.constData(), Missing, &Value, &Length)) << Missing;
}

TEST(VerQueryValue, DamagedBlocksFailInsideTheirBounds)
{
    const QByteArray Good = LumitraVersion::BuildVersionBlock(Record(Fixed(0x3F, 0, 2), "040904E4", AllKeys));
    const char *Path = "\\StringFileInfo\\040904E4\\Comments";
    void *Value = nullptr;
    std::uint32_t Length = 0;
    ASSERT_TRUE(LumitraVersion::VerQueryValue(Good.constData(), Path, &Value, &Length));

    // Every node length and every key byte damaged in turn: a query may fail
    // or succeed, but a text it returns ends inside the block (ASan watches
    // the reads).
    for (int At = 0; At < Good.size(); ++At) {
        QByteArray Bad = Good;
        Bad[At] = char(Bad[At] ^ 0x5A);
        const std::uint16_t Root = std::uint16_t(std::uint8_t(Bad[0]) | (std::uint8_t(Bad[1]) << 8));
        if (Root > Good.size())
            continue; // a block is as long as its root says
        if (LumitraVersion::VerQueryValue(Bad.constData(), Path, &Value, &Length)) {
            const char *Text = static_cast<const char *>(Value);
            ASSERT_GE(Text, Bad.constData());
            ASSERT_NE(std::memchr(Text, 0, std::size_t(Bad.constData() + Bad.size() - Text)), nullptr);
        }
        (void)LumitraVersion::VerQueryValue(Bad.constData(), "\\", &Value, &Length);
    }
    // A text whose NUL lies beyond its stated length is refused.
    QByteArray Cut = Good;
    const int Key = Cut.indexOf("Comments");
    ASSERT_GT(Key, 6);
    Cut[Key - 4] = 1; // wValueLength of the Comments node: 1 char, no NUL
    Cut[Key - 3] = 0;
    EXPECT_FALSE(LumitraVersion::VerQueryValue(Cut.constData(), Path, &Value, &Length));
}

TEST(VersionApi, ModuleFileNameAndFileQueries)
{
    char Path[4096];
    // The test program's own path; cut to the buffer with a NUL.
    const std::uint32_t Length = LumitraVersion::GetModuleFileName(reinterpret_cast<const void *>(&Items), Path, sizeof Path);
    ASSERT_GT(Length, 0u);
    EXPECT_EQ(std::strlen(Path), Length);
    char Small[4];
    EXPECT_EQ(LumitraVersion::GetModuleFileName(reinterpret_cast<const void *>(&Items), Small, sizeof Small), 3u);
    EXPECT_EQ(std::strlen(Small), 3u);
    EXPECT_EQ(LumitraVersion::GetModuleFileName(reinterpret_cast<const void *>(&Items), Small, 0), 0u);

    std::uint32_t Handle = 7;
    const std::uint32_t Size = LumitraVersion::GetFileVersionInfoSize(LUMITRA_DLIB_PATH, &Handle);
    EXPECT_EQ(Handle, 0u);
    ASSERT_GT(Size, 0u);
    std::vector<char> Block(Size);
    EXPECT_FALSE(LumitraVersion::GetFileVersionInfo(LUMITRA_DLIB_PATH, 0, Size - 1, Block.data()));
    EXPECT_TRUE(LumitraVersion::GetFileVersionInfo(LUMITRA_DLIB_PATH, 0, Size, Block.data()));
    EXPECT_EQ(LumitraVersion::GetFileVersionInfoSize(LUMITRA_RLIB_PATH, &Handle), 0u);
    EXPECT_FALSE(LumitraVersion::GetFileVersionInfo(LUMITRA_RLIB_PATH, 0, Size, Block.data()));
}
