// An application's view of the clock: a TLumitra inside a window, every
// published property written by name and read back.
#include "Lumitra.h"

#include <QtCore/QMetaProperty>
#include <QtWidgets/QApplication>
#include <cstdio>
#include <cstring>

namespace {

int Failures = 0;

void Fail(const char *Name, const char *What)
{
    std::fprintf(stderr, "lumitra-consumer: %s: %s\n", Name, What);
    ++Failures;
}

bool SameValue(const QVariant &A, const QVariant &B)
{
    if (A.metaType() == QMetaType::fromType<QPixmap>())
        return A.value<QPixmap>().toImage() == B.value<QPixmap>().toImage();
    return A == B;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);

    QWidget Window;
    auto *Clock = new TLumitra(&Window);
    if (Clock->parentWidget() != &Window)
        Fail("TLumitra", "not a child of its window");

    QPixmap Picture(8, 6);
    Picture.fill(Qt::darkBlue);
    // A value other than the default for every writable published property.
    const struct
    {
        const char *Name;
        QVariant Value;
    } Rows[] = {
        {"Active", true},
        {"FramesPerSecond", 50},
        {"ClockStyle", QVariant::fromValue(TLumitra::csTwistedClock)},
        {"ClockHourStyle", QVariant::fromValue(TLumitra::hs12HourTime)},
        {"PixDistance", 30},
        {"PixelAngle", 8},
        {"ClockRadius", 20},
        {"ClockDistance", 18000},
        {"RotX", 0.5},
        {"RotY", 1.25},
        {"RotZ", -2.0},
        {"IRotX", 10},
        {"IRotY", 20},
        {"IRotZ", 45},
        {"ClockColor", QVariant::fromValue(QColor(10, 20, 30))},
        {"BackgroundImage", QVariant::fromValue(Picture)},
        {"ImageSourcePointX", 3},
        {"ImageSourcePointY", 4},
        {"Stretched", true},
        {"Priority", QVariant::fromValue(LumitraHost::tpHigher)},
    };

    // Every published property is covered here: About, which cannot be
    // written, and the rows above.
    const QMetaObject &Meta = TLumitra::staticMetaObject;
    for (int I = Meta.propertyOffset(); I < Meta.propertyCount(); ++I) {
        const char *Name = Meta.property(I).name();
        bool Known = std::strcmp(Name, "About") == 0;
        for (const auto &Row : Rows)
            Known = Known || std::strcmp(Name, Row.Name) == 0;
        if (!Known)
            Fail(Name, "published but not exercised");
    }

    for (const auto &Row : Rows) {
        if (SameValue(Clock->property(Row.Name), Row.Value))
            Fail(Row.Name, "test value equals the default");
        if (!Clock->setProperty(Row.Name, Row.Value))
            Fail(Row.Name, "cannot be written");
        else if (!SameValue(Clock->property(Row.Name), Row.Value))
            Fail(Row.Name, "reads back another value");
    }
    if (Clock->setProperty("About", 1))
        Fail("About", "can be written");
    if (Clock->property("About").toInt() != 256)
        Fail("About", "is not 256");

    // One real frame with all of that in place.
    if (Window.grab().isNull())
        Fail("TLumitra", "no frame rendered");
    Clock->setProperty("Active", false);

    if (Failures)
        return 1;
    std::printf("lumitra-consumer: %d properties written and read back\n", int(std::size(Rows)));
    return 0;
}
