#include "VersionApi.h"

#include <QtCore/QFileInfo>
#include <QtCore/QJsonArray>
#include <QtCore/QPluginLoader>
#include <QtCore/QStringList>
#include <dlfcn.h>
#include <cstring>
#include <vector>

namespace LumitraVersion {

namespace {

constexpr std::uint32_t NodeHeader = 6; // wLength, wValueLength, wType
constexpr std::uint16_t TypeBinary = 0;
constexpr std::uint16_t TypeText = 1;

constexpr std::uint32_t Align4(std::uint32_t V) { return (V + 3u) & ~3u; }

std::uint16_t Read16(const unsigned char *P) { return std::uint16_t(P[0] | (P[1] << 8)); }

void Put16(QByteArray &B, int At, std::uint32_t V)
{
    B[At] = char(V & 0xFF);
    B[At + 1] = char((V >> 8) & 0xFF);
}

void Put32(QByteArray &B, std::uint32_t V)
{
    for (int I = 0; I < 4; ++I)
        B.append(char((V >> (8 * I)) & 0xFF));
}

void Pad4(QByteArray &B)
{
    while (B.size() % 4)
        B.append('\0');
}

// One node with its children already laid out; false when it would not fit
// the 16-bit length.
bool MakeNode(QByteArray &Out, const QByteArray &Key, const QByteArray &Value, std::uint16_t Type,
              const std::vector<QByteArray> &Children)
{
    QByteArray N(int(NodeHeader), '\0');
    N.append(Key);
    N.append('\0');
    Pad4(N);
    N.append(Value);
    for (const QByteArray &C : Children) {
        Pad4(N);
        N.append(C);
    }
    if (N.size() > 0xFFFF || Value.size() > 0xFFFF)
        return false;
    Put16(N, 0, std::uint32_t(N.size()));
    Put16(N, 2, std::uint32_t(Value.size())); // texts count their NUL
    Put16(N, 4, Type);
    Out = N;
    return true;
}

// "1.0.1.2" as the two 32-bit halves; missing or bad parts read as 0.
void ParseVersion(const QString &Text, std::uint32_t &MS, std::uint32_t &LS)
{
    const QStringList Parts = Text.split(QLatin1Char('.'));
    std::uint32_t V[4] = {};
    for (int I = 0; I < 4 && I < Parts.size(); ++I)
        V[I] = Parts[I].toUInt() & 0xFFFF;
    MS = (V[0] << 16) | V[1];
    LS = (V[2] << 16) | V[3];
}

QByteArray FixedInfoBytes(const QJsonObject &F)
{
    TFixedFileInfo I{};
    I.dwSignature = FixedFileInfoSignature;
    I.dwStrucVersion = 0x00010000;
    ParseVersion(F.value(QLatin1String("FileVersion")).toString(), I.dwFileVersionMS, I.dwFileVersionLS);
    ParseVersion(F.value(QLatin1String("ProductVersion")).toString(), I.dwProductVersionMS,
                 I.dwProductVersionLS);
    auto Word = [&F](const char *Key) {
        return std::uint32_t(F.value(QLatin1String(Key)).toInteger() & 0xFFFFFFFF);
    };
    I.dwFileFlagsMask = Word("FileFlagsMask");
    I.dwFileFlags = Word("FileFlags");
    I.dwFileOS = Word("FileOS");
    I.dwFileType = Word("FileType");
    I.dwFileSubtype = Word("FileSubtype");
    const auto Date = std::uint64_t(F.value(QLatin1String("FileDate")).toInteger());
    I.dwFileDateMS = std::uint32_t(Date >> 32);
    I.dwFileDateLS = std::uint32_t(Date & 0xFFFFFFFF);
    QByteArray B;
    for (std::uint32_t W : {I.dwSignature, I.dwStrucVersion, I.dwFileVersionMS, I.dwFileVersionLS,
                            I.dwProductVersionMS, I.dwProductVersionLS, I.dwFileFlagsMask,
                            I.dwFileFlags, I.dwFileOS, I.dwFileType, I.dwFileSubtype,
                            I.dwFileDateMS, I.dwFileDateLS})
        Put32(B, W);
    return B;
}

struct TNode
{
    const unsigned char *Base = nullptr;
    std::uint32_t Length = 0;
    std::uint32_t ValueLength = 0;
    std::uint16_t Type = 0;
    const char *Key = nullptr;
    std::uint32_t ValueOffset = 0;
    std::uint32_t ChildOffset = 0;
};

// Reads the node at P, of which Avail bytes belong to the enclosing node.
bool ParseNode(const unsigned char *P, std::uint32_t Avail, TNode &N)
{
    if (Avail < NodeHeader)
        return false;
    N.Base = P;
    N.Length = Read16(P);
    N.ValueLength = Read16(P + 2);
    N.Type = Read16(P + 4);
    if (N.Length < NodeHeader || N.Length > Avail)
        return false;
    const void *End = std::memchr(P + NodeHeader, 0, N.Length - NodeHeader);
    if (!End)
        return false;
    N.Key = reinterpret_cast<const char *>(P + NodeHeader);
    const auto KeyEnd = std::uint32_t(static_cast<const unsigned char *>(End) - P) + 1;
    N.ValueOffset = Align4(KeyEnd);
    if (N.ValueLength == 0) {
        N.ValueOffset = std::min(N.ValueOffset, N.Length);
    } else if (N.ValueOffset > N.Length || N.ValueLength > N.Length - N.ValueOffset) {
        return false;
    }
    N.ChildOffset = std::min(Align4(N.ValueOffset + N.ValueLength), N.Length);
    return true;
}

bool SameKey(const char *A, const QByteArray &B)
{
    return qstricmp(A, B.constData()) == 0;
}

} // namespace

std::uint32_t GetModuleFileName(const void *Address, char *Buffer, std::uint32_t Size)
{
    if (!Buffer || Size == 0)
        return 0;
    Buffer[0] = '\0';
    Dl_info Info{};
    if (!dladdr(const_cast<void *>(Address), &Info) || !Info.dli_fname)
        return 0;
    const std::size_t Length = std::min<std::size_t>(std::strlen(Info.dli_fname), Size - 1);
    std::memcpy(Buffer, Info.dli_fname, Length);
    Buffer[Length] = '\0';
    return std::uint32_t(Length);
}

QJsonObject ReadVersionRecord(const char *Path)
{
    if (!Path || !*Path)
        return {};
    // A relative path (as the module was opened) is taken from the current
    // folder, not searched for along the plugin paths.
    const QString File = QFileInfo(QString::fromLocal8Bit(Path)).absoluteFilePath();
    const QJsonObject Meta = QPluginLoader(File).metaData();
    return Meta.value(QLatin1String("MetaData")).toObject().value(QLatin1String("VersionInfo")).toObject();
}

QByteArray BuildVersionBlock(const QJsonObject &Record)
{
    if (Record.isEmpty())
        return {};
    std::vector<QByteArray> Top;
    QByteArray Node;

    const QJsonObject Strings = Record.value(QLatin1String("StringFileInfo")).toObject();
    std::vector<QByteArray> Tables;
    for (auto T = Strings.begin(); T != Strings.end(); ++T) {
        std::vector<QByteArray> Entries;
        const QJsonObject Table = T.value().toObject();
        for (auto E = Table.begin(); E != Table.end(); ++E) {
            QByteArray Value = E.value().toString().toUtf8();
            Value.append('\0');
            if (!MakeNode(Node, E.key().toUtf8(), Value, TypeText, {}))
                return {};
            Entries.push_back(Node);
        }
        if (!MakeNode(Node, T.key().toUtf8(), {}, TypeText, Entries))
            return {};
        Tables.push_back(Node);
    }
    if (!Tables.empty()) {
        if (!MakeNode(Node, "StringFileInfo", {}, TypeText, Tables))
            return {};
        Top.push_back(Node);
    }

    const QJsonArray Translation =
        Record.value(QLatin1String("VarFileInfo")).toObject().value(QLatin1String("Translation")).toArray();
    if (!Translation.isEmpty()) {
        QByteArray Words;
        for (const QJsonValue &W : Translation) {
            const auto V = std::uint32_t(W.toInteger());
            Words.append(char(V & 0xFF));
            Words.append(char((V >> 8) & 0xFF));
        }
        QByteArray Var;
        if (!MakeNode(Var, "Translation", Words, TypeBinary, {})
            || !MakeNode(Node, "VarFileInfo", {}, TypeText, {Var}))
            return {};
        Top.push_back(Node);
    }

    QByteArray Fixed;
    if (Record.contains(QLatin1String("FixedFileInfo")))
        Fixed = FixedInfoBytes(Record.value(QLatin1String("FixedFileInfo")).toObject());
    QByteArray Root;
    if (!MakeNode(Root, "VS_VERSION_INFO", Fixed, TypeBinary, Top))
        return {};
    return Root;
}

std::uint32_t GetFileVersionInfoSize(const char *Path, std::uint32_t *Handle)
{
    if (Handle)
        *Handle = 0;
    return std::uint32_t(BuildVersionBlock(ReadVersionRecord(Path)).size());
}

bool GetFileVersionInfo(const char *Path, std::uint32_t, std::uint32_t Length, void *Data)
{
    const QByteArray Block = BuildVersionBlock(ReadVersionRecord(Path));
    if (Block.isEmpty() || !Data || Length < std::uint32_t(Block.size()))
        return false;
    std::memcpy(Data, Block.constData(), std::size_t(Block.size()));
    return true;
}

bool VerQueryValue(const void *Block, const char *SubBlock, void **Buffer, std::uint32_t *Length)
{
    if (!Block || !SubBlock || !Buffer || !Length)
        return false;
    *Buffer = nullptr;
    *Length = 0;
    const auto *P = static_cast<const unsigned char *>(Block);
    TNode Node;
    if (!ParseNode(P, Read16(P), Node))
        return false;

    const QList<QByteArray> Parts = QByteArray(SubBlock).split('\\');
    bool Root = true;
    for (const QByteArray &Part : Parts) {
        if (Part.isEmpty())
            continue;
        Root = false;
        bool Found = false;
        std::uint32_t At = Node.ChildOffset;
        while (At + NodeHeader <= Node.Length) {
            TNode Child;
            if (!ParseNode(Node.Base + At, Node.Length - At, Child))
                return false;
            if (SameKey(Child.Key, Part)) {
                Node = Child;
                Found = true;
                break;
            }
            At += Align4(Child.Length);
        }
        if (!Found)
            return false;
    }

    const unsigned char *Value = Node.Base + Node.ValueOffset;
    if (Root) {
        std::uint32_t Signature = 0;
        if (Node.ValueLength < sizeof(TFixedFileInfo))
            return false;
        std::memcpy(&Signature, Value, sizeof Signature);
        if (Signature != FixedFileInfoSignature)
            return false;
    } else if (Node.Type == TypeText) {
        static const char Empty[] = "";
        if (Node.ValueLength == 0)
            Value = reinterpret_cast<const unsigned char *>(Empty);
        else if (!std::memchr(Value, 0, Node.ValueLength))
            return false; // a text that runs off its node
    }
    *Buffer = const_cast<unsigned char *>(Value);
    *Length = Node.ValueLength;
    return true;
}

} // namespace LumitraVersion
