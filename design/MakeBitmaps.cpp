// lumitra-bitmaps: draws the plugin's bitmaps from the clock itself and writes
// them in their fixed formats: TLUMITRA (24 x 24, 8 bits with a 256-entry
// palette, a neutral and an English (United States) copy), TLUMITRA48
// (48 x 48, 24 bits) and MAINICON (32 x 32, 16 colours).
#include "Lumitra.h"

#include <QtCore/QFile>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <cstdio>
#include <cstring>

namespace {

// Writes little-endian words.
struct TWriter
{
    QByteArray Data;
    void U8(unsigned V) { Data.append(char(V & 0xFF)); }
    void U16(unsigned V) { U8(V); U8(V >> 8); }
    void U32(std::uint32_t V) { U16(V & 0xFFFF); U16(V >> 16); }
};

int Align4(int V) { return (V + 3) & ~3; }

// BITMAPINFOHEADER, palette and bottom-up rows of an 8-bit indexed, 4-bit
// indexed or 24-bit image; Height is doubled for an icon's XOR + AND masks.
void PutDib(TWriter &W, const QImage &Image, int Bits, bool Icon)
{
    const int Wd = Image.width(), Ht = Image.height();
    const int Colours = Bits <= 8 ? 1 << Bits : 0;
    const int Row = Align4((Wd * Bits + 7) / 8);
    const int MaskRow = Align4((Wd + 7) / 8);
    W.U32(40);
    W.U32(std::uint32_t(Wd));
    W.U32(std::uint32_t(Icon ? Ht * 2 : Ht));
    W.U16(1);
    W.U16(unsigned(Bits));
    W.U32(0);
    W.U32(std::uint32_t(Row * Ht + (Icon ? MaskRow * Ht : 0)));
    W.U32(Icon ? 0 : 2835);
    W.U32(Icon ? 0 : 2835);
    W.U32(std::uint32_t(Colours));
    W.U32(0);
    const QList<QRgb> Table = Image.colorTable();
    for (int I = 0; I < Colours; ++I) {
        const QRgb C = I < Table.size() ? Table[I] : qRgb(0, 0, 0);
        W.U8(unsigned(qBlue(C)));
        W.U8(unsigned(qGreen(C)));
        W.U8(unsigned(qRed(C)));
        W.U8(0);
    }
    for (int Y = Ht - 1; Y >= 0; --Y) {
        QByteArray Line(Row, '\0');
        for (int X = 0; X < Wd; ++X) {
            if (Bits == 24) {
                const QRgb C = Image.pixel(X, Y);
                Line[X * 3] = char(qBlue(C));
                Line[X * 3 + 1] = char(qGreen(C));
                Line[X * 3 + 2] = char(qRed(C));
            } else if (Bits == 8) {
                Line[X] = char(Image.pixelIndex(X, Y));
            } else {
                const int Index = Image.pixelIndex(X, Y) & 0x0F;
                Line[X / 2] = char(Line[X / 2] | (X % 2 ? Index : Index << 4));
            }
        }
        W.Data.append(Line);
    }
    if (Icon)
        W.Data.append(QByteArray(MaskRow * Ht, '\0')); // opaque everywhere
}

QByteArray Bmp(const QImage &Image, int Bits)
{
    TWriter Dib;
    PutDib(Dib, Image, Bits, false);
    const int Colours = Bits <= 8 ? 1 << Bits : 0;
    TWriter W;
    W.U8('B');
    W.U8('M');
    W.U32(std::uint32_t(14 + Dib.Data.size()));
    W.U32(0);
    W.U32(std::uint32_t(14 + 40 + Colours * 4));
    W.Data.append(Dib.Data);
    return W.Data;
}

QByteArray Ico(const QImage &Image)
{
    TWriter Dib;
    PutDib(Dib, Image, 4, true);
    TWriter W;
    W.U16(0);
    W.U16(1);
    W.U16(1);
    W.U8(unsigned(Image.width()));
    W.U8(unsigned(Image.height()));
    W.U8(16);
    W.U8(0);
    W.U16(1);
    W.U16(4);
    W.U32(std::uint32_t(Dib.Data.size()));
    W.U32(22);
    W.Data.append(Dib.Data);
    return W.Data;
}

// One frame of a clock showing a fixed time, drawn large and scaled down.
QImage DrawClock(int Size, TLumitra::TClockStyle Style, TLumitra::THourStyle Hours, const QColor &Dots,
                 const QColor &Background, double Time)
{
    TLumitra Clock;
    Clock.SetTimeSource([Time] { return Time; });
    Clock.resize(256, 256);
    QPalette P = Clock.palette();
    P.setColor(QPalette::Window, Background);
    Clock.setPalette(P);
    Clock.SetClockStyle(Style);
    Clock.SetClockHourStyle(Hours);
    Clock.SetClockColor(Dots);
    Clock.SetRotY(0.0);
    Clock.SetIRotX(Style == TLumitra::csTwistedClock ? 0 : 35);
    Clock.SetIRotZ(Style == TLumitra::csTwistedClock ? 45 : 0);
    Clock.SetPixDistance(40);
    Clock.SetClockDistance(Style == TLumitra::csTwistedClock ? 9000 : 15000);
    QImage Big(256, 256, QImage::Format_RGB32);
    Big.fill(Background);
    Clock.RenderTo(&Big);
    return Big.scaled(Size, Size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The 16 colours of the standard 4-bit palette.
QList<QRgb> Vga16()
{
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

// A 256-entry palette: a ramp from Background to Dots, then greys.
QList<QRgb> Ramp256(const QColor &Dots, const QColor &Background)
{
    QList<QRgb> Table;
    for (int I = 0; I < 192; ++I) {
        const double T = I / 191.0;
        Table << qRgb(int(Background.red() + (Dots.red() - Background.red()) * T),
                      int(Background.green() + (Dots.green() - Background.green()) * T),
                      int(Background.blue() + (Dots.blue() - Background.blue()) * T));
    }
    for (int I = 0; I < 64; ++I)
        Table << qRgb(I * 4, I * 4, I * 4);
    return Table;
}

bool Save(const QString &Path, const QByteArray &Data)
{
    QFile F(Path);
    if (!F.open(QIODevice::WriteOnly) || F.write(Data) != Data.size()) {
        std::fprintf(stderr, "lumitra-bitmaps: cannot write %s\n", qPrintable(Path));
        return false;
    }
    std::printf("wrote %s (%lld bytes)\n", qPrintable(Path), static_cast<long long>(Data.size()));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        const bool Help = argc == 2;
        std::fprintf(Help ? stdout : stderr,
                     "Usage: lumitra-bitmaps DIR\n"
                     "Draws TLUMITRA.bmp, TLUMITRA.en_US.bmp, TLUMITRA48.bmp and MAINICON.ico\n"
                     "from the clock and writes them into DIR.\n");
        return Help ? 0 : 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    const QString Dir = QString::fromLocal8Bit(argv[1]);
    std::printf("lumitra-bitmaps: drawing the clock into %s\n", argv[1]);

    const double TenToTwo = 45000.0 + (13 * 3600 + 50 * 60 + 25) / 86400.0;
    const QColor Green(0x88, 0xFF, 0x55), Amber(0xFF, 0xB0, 0x30), Night(0x10, 0x18, 0x30);
    const QColor Black(0, 0, 0);

    const QImage Neutral = DrawClock(24, TLumitra::csRingShapedClock, TLumitra::hs24HourTime, Green, Black, TenToTwo)
                               .convertToFormat(QImage::Format_Indexed8, Ramp256(Green, Black));
    const QImage English = DrawClock(24, TLumitra::csRingShapedClock, TLumitra::hs12HourTime, Amber, Night, TenToTwo)
                               .convertToFormat(QImage::Format_Indexed8, Ramp256(Amber, Night));
    const QImage About = DrawClock(48, TLumitra::csRingShapedClock, TLumitra::hs24HourTime, Green, Black, TenToTwo);
    const QImage Icon = DrawClock(32, TLumitra::csTwistedClock, TLumitra::hs24HourTime, Green, Black, TenToTwo)
                            .convertToFormat(QImage::Format_Indexed8, Vga16());

    const bool Ok = Save(Dir + QStringLiteral("/TLUMITRA.bmp"), Bmp(Neutral, 8))
                    && Save(Dir + QStringLiteral("/TLUMITRA.en_US.bmp"), Bmp(English, 8))
                    && Save(Dir + QStringLiteral("/TLUMITRA48.bmp"), Bmp(About, 24))
                    && Save(Dir + QStringLiteral("/MAINICON.ico"), Ico(Icon));
    return Ok ? 0 : 1;
}
