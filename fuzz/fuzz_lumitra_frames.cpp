// Drives arbitrary property values, control sizes and clock times through
// frames of a real clock: engine frames drawn onto a small image whatever the
// control's size, and whole paints of the control.
#include "LumitraProbe.h"

#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <limits>

namespace {

QApplication *App = nullptr;

double AnyDouble(FuzzedDataProvider &In)
{
    switch (In.ConsumeIntegralInRange(0, 5)) {
    case 0: return std::numeric_limits<double>::quiet_NaN();
    case 1: return std::numeric_limits<double>::infinity();
    case 2: return -std::numeric_limits<double>::infinity();
    case 3: return In.ConsumeFloatingPointInRange(-720.0, 720.0);
    default: return In.ConsumeFloatingPoint<double>();
    }
}

int AnyInt(FuzzedDataProvider &In)
{
    // Small values, where the layout changes, as often as any 32-bit value.
    return In.ConsumeBool() ? In.ConsumeIntegralInRange(-400, 400) : In.ConsumeIntegral<int>();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *Argc, char ***Argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    App = new QApplication(*Argc, *Argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size)
{
    FuzzedDataProvider In(Data, Size);
    TLumitra Clock;
    TLumitraProbe P(Clock);
    double Time = 45000.5;
    Clock.SetTimeSource([&Time] { return Time; });
    QImage Small(48, 40, QImage::Format_ARGB32_Premultiplied);
    QImage Paint(96, 80, QImage::Format_ARGB32_Premultiplied);

    for (int Step = 0; Step < 48 && In.remaining_bytes() > 0; ++Step) {
        switch (In.ConsumeIntegralInRange(0, 20)) {
        case 0: Clock.SetClockStyle(TLumitra::TClockStyle(In.ConsumeIntegralInRange(0, 1))); break;
        case 1: Clock.SetClockHourStyle(TLumitra::THourStyle(In.ConsumeIntegralInRange(0, 1))); break;
        case 2: Clock.SetPixDistance(AnyInt(In)); break;
        case 3: Clock.SetPixelAngle(AnyInt(In)); break;
        case 4: Clock.SetClockRadius(AnyInt(In)); break;
        case 5: Clock.SetClockDistance(AnyInt(In)); break;
        case 6: Clock.SetRotX(AnyDouble(In)); break;
        case 7: Clock.SetRotY(AnyDouble(In)); break;
        case 8: Clock.SetRotZ(AnyDouble(In)); break;
        case 9: Clock.SetIRotX(AnyInt(In)); break;
        case 10: Clock.SetIRotY(AnyInt(In)); break;
        case 11: Clock.SetIRotZ(AnyInt(In)); break;
        case 12: Clock.SetClockColor(LumitraHost::MakeTColor(In.ConsumeIntegral<std::uint32_t>())); break;
        case 13: Clock.SetColorValue(QColor::fromRgb(In.ConsumeIntegral<std::uint32_t>())); break;
        case 14: Clock.SetFramesPerSecond(AnyInt(In)); break;
        case 15:
            Clock.resize(In.ConsumeIntegralInRange(-10, 20000000), In.ConsumeIntegralInRange(-10, 20000000));
            break;
        case 16: Time = In.ConsumeBool() ? 45000.0 + In.ConsumeProbability<double>() : AnyDouble(In); break;
        case 17: {
            // Engine frames onto an image smaller than the control.
            QPainter Painter(&Small);
            Clock.Canvas()->SetPainter(&Painter);
            for (int F = In.ConsumeIntegralInRange(1, 4); F > 0; --F) {
                P.CalculateClockTimeDots();
                P.DrawClockDots();
            }
            Clock.Canvas()->SetPainter(nullptr);
            break;
        }
        case 18: Clock.RenderTo(&Paint); break;
        case 19: {
            QImage Picture(In.ConsumeIntegralInRange(1, 16), In.ConsumeIntegralInRange(1, 16), QImage::Format_RGB32);
            Picture.fill(QColor::fromRgb(In.ConsumeIntegral<std::uint32_t>()));
            Clock.SetBackgroundImage(QPixmap::fromImage(Picture));
            Clock.SetStretched(In.ConsumeBool());
            break;
        }
        case 20:
            Clock.SetImageSourcePointX(AnyInt(In));
            Clock.SetImageSourcePointY(AnyInt(In));
            break;
        }
    }
    Clock.RenderTo(&Paint);
    return 0;
}
