// lumitra-render: renders frames of a real TLumitra offscreen, each one real
// paint of the control into an image, and writes the last one as a PNG
// and/or every dot drawn as a trace.
#include "Lumitra.h"

#include <QtCore/QMetaProperty>
#include <QtCore/QRegularExpression>
#include <QtGui/QImage>
#include <QtWidgets/QApplication>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

using LumitraHost::TColor;

constexpr int ExitUsage = 2;
constexpr int MaxSide = 8192;
constexpr long long MaxFrames = 10000000;

const char *const Usage =
    "Usage: lumitra-render [--size WxH] [--set NAME=VALUE]... [--time HH:MM:SS[.zzz]]\n"
    "                      [--frames N] [--step-ms MS] [--png FILE] [--trace]\n"
    "\n"
    "Renders frames of a Lumitra clock offscreen. Each frame is one real paint of\n"
    "the control into an image.\n"
    "\n"
    "  --size WxH          size of the control in pixels (default 128x128)\n"
    "  --set NAME=VALUE    sets a published property by name, in the order given:\n"
    "                      enumerations by value name (csTwistedClock, hs12HourTime,\n"
    "                      tpLowest ...), colours as #RRGGBB, booleans true/false,\n"
    "                      numbers as such, BackgroundImage=FILE; Color=#RRGGBB\n"
    "                      sets the control's background colour\n"
    "  --time HH:MM:SS[.zzz]  local time at the first frame (default: now)\n"
    "  --frames N          number of frames to render (default 1)\n"
    "  --step-ms MS        time between frames (default: the frame period,\n"
    "                      1000 div FramesPerSecond, or 55)\n"
    "  --png FILE          writes the last frame as a PNG\n"
    "  --trace             prints every dot drawn, in drawing order, one per line:\n"
    "                      FRAME LEFT TOP RIGHT BOTTOM #RRGGBB\n"
    "  --help              shows this text\n";

[[noreturn]] void Fail(const std::string &Message, int Status = ExitUsage)
{
    std::fprintf(stderr, "lumitra-render: %s\n", Message.c_str());
    std::exit(Status);
}

bool ParseInt(const QString &Text, long long Min, long long Max, long long &Out)
{
    static const QRegularExpression Pattern(QStringLiteral("^[+-]?[0-9]{1,12}$"));
    if (!Pattern.match(Text).hasMatch())
        return false;
    bool Ok = false;
    const long long V = Text.toLongLong(&Ok);
    if (!Ok || V < Min || V > Max)
        return false;
    Out = V;
    return true;
}

bool ParseSize(const QString &Text, int &W, int &H)
{
    const QStringList Parts = Text.split(QLatin1Char('x'));
    long long A = 0, B = 0;
    if (Parts.size() != 2 || !ParseInt(Parts[0], 1, MaxSide, A) || !ParseInt(Parts[1], 1, MaxSide, B))
        return false;
    W = int(A);
    H = int(B);
    return true;
}

// Milliseconds of the day, from HH:MM:SS[.zzz].
bool ParseTime(const QString &Text, long long &Ms)
{
    static const QRegularExpression Pattern(
        QStringLiteral("^([0-9]{1,2}):([0-9]{2}):([0-9]{2})(?:\\.([0-9]{1,3}))?$"));
    const QRegularExpressionMatch M = Pattern.match(Text);
    if (!M.hasMatch())
        return false;
    const int H = M.captured(1).toInt(), Mi = M.captured(2).toInt(), S = M.captured(3).toInt();
    if (H > 23 || Mi > 59 || S > 59)
        return false;
    QString Frac = M.captured(4);
    while (Frac.size() < 3)
        Frac += QLatin1Char('0');
    Ms = ((H * 60LL + Mi) * 60 + S) * 1000 + Frac.toInt();
    return true;
}

struct TOptions
{
    int Width = 128;
    int Height = 128;
    bool SizeGiven = false;
    std::vector<std::pair<QString, QString>> Sets;
    bool TimeGiven = false;
    long long TimeMs = 0;
    long long Frames = 1;
    bool StepGiven = false;
    long long StepMs = 0;
    QString Png;
    bool Trace = false;
};

TOptions ParseOptions(int argc, char **argv)
{
    TOptions O;
    for (int I = 1; I < argc; ++I) {
        QString Arg = QString::fromLocal8Bit(argv[I]);
        QString Value;
        bool HasValue = false;
        if (Arg.startsWith(QLatin1String("--")) && Arg.contains(QLatin1Char('='))) {
            const qsizetype Eq = Arg.indexOf(QLatin1Char('='));
            Value = Arg.mid(Eq + 1);
            Arg = Arg.left(Eq);
            HasValue = true;
        }
        const auto Next = [&]() -> QString {
            if (HasValue)
                return Value;
            if (I + 1 >= argc)
                Fail("option '" + Arg.toStdString() + "' needs a value");
            return QString::fromLocal8Bit(argv[++I]);
        };
        const auto Bad = [&](const QString &V) {
            Fail("bad value '" + V.toStdString() + "' for option '" + Arg.toStdString() + "'");
        };
        if (Arg == QLatin1String("--help") || Arg == QLatin1String("-h")) {
            std::fputs(Usage, stdout);
            std::exit(0);
        } else if (Arg == QLatin1String("--size")) {
            const QString V = Next();
            if (!ParseSize(V, O.Width, O.Height))
                Bad(V);
            O.SizeGiven = true;
        } else if (Arg == QLatin1String("--set")) {
            const QString V = Next();
            const qsizetype Eq = V.indexOf(QLatin1Char('='));
            if (Eq <= 0)
                Bad(V);
            O.Sets.emplace_back(V.left(Eq), V.mid(Eq + 1));
        } else if (Arg == QLatin1String("--time")) {
            const QString V = Next();
            if (!ParseTime(V, O.TimeMs))
                Bad(V);
            O.TimeGiven = true;
        } else if (Arg == QLatin1String("--frames")) {
            const QString V = Next();
            if (!ParseInt(V, 1, MaxFrames, O.Frames))
                Bad(V);
        } else if (Arg == QLatin1String("--step-ms")) {
            const QString V = Next();
            if (!ParseInt(V, 0, LumitraHost::MSecsPerDay, O.StepMs))
                Bad(V);
            O.StepGiven = true;
        } else if (Arg == QLatin1String("--png")) {
            O.Png = Next();
            if (O.Png.isEmpty())
                Bad(O.Png);
        } else if (Arg == QLatin1String("--trace") && !HasValue) {
            O.Trace = true;
        } else {
            Fail("unknown option '" + std::string(argv[I]) + "'");
        }
    }
    return O;
}

// Sets one published property by name. Width and Height are the control's
// size; everything else goes through the meta-object.
void SetProperty(TLumitra &Clock, const QString &Name, const QString &Text)
{
    const std::string N = Name.toStdString();
    const auto Bad = [&]() {
        Fail("bad value '" + Text.toStdString() + "' for property '" + N + "'");
    };
    if (Name == QLatin1String("Width") || Name == QLatin1String("Height")) {
        long long V = 0;
        if (!ParseInt(Text, 1, MaxSide, V))
            Bad();
        if (Name == QLatin1String("Width"))
            Clock.SetWidth(int(V));
        else
            Clock.SetHeight(int(V));
        return;
    }
    const QMetaObject *Meta = Clock.metaObject();
    const int Index = Meta->indexOfProperty(Name.toLatin1().constData());
    // Only the clock's own properties and those of its control base are
    // published; QWidget's own (enabled, geometry ...) are not.
    if (Index < LumitraHost::TCustomControl::staticMetaObject.propertyOffset())
        Fail("unknown property '" + N + "'");
    const QMetaProperty Prop = Meta->property(Index);
    if (!Prop.isWritable())
        Fail("property '" + N + "' is read-only");

    QVariant Value;
    if (Prop.isEnumType()) {
        bool Ok = false;
        const int V = Prop.enumerator().keyToValue(Text.toLatin1().constData(), &Ok);
        if (!Ok)
            Bad();
        Value = V;
    } else {
        switch (Prop.metaType().id()) {
        case QMetaType::Bool:
            if (Text == QLatin1String("true"))
                Value = true;
            else if (Text == QLatin1String("false"))
                Value = false;
            else
                Bad();
            break;
        case QMetaType::Int: {
            long long V = 0;
            if (!ParseInt(Text, INT_MIN, INT_MAX, V))
                Bad();
            Value = int(V);
            break;
        }
        case QMetaType::Double: {
            // Any number the C library reads, nan and inf included.
            bool Ok = false;
            const double V = Text.toDouble(&Ok);
            if (!Ok)
                Bad();
            Value = V;
            break;
        }
        case QMetaType::QColor: {
            static const QRegularExpression Pattern(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
            if (!Pattern.match(Text).hasMatch())
                Bad();
            Value = QColor(Text);
            break;
        }
        case QMetaType::QPixmap: {
            QImage Image;
            if (Text.isEmpty() || !Image.load(Text))
                Fail("cannot read image '" + Text.toStdString() + "' for property '" + N + "'");
            Value = QPixmap::fromImage(Image);
            break;
        }
        default:
            Fail("property '" + N + "' cannot be set from the command line");
        }
    }
    if (!Prop.write(&Clock, Value))
        Bad();
}

// Qt's note that it made up a runtime directory is noise for a one-shot
// renderer; everything else passes through.
void FilterMessages(QtMsgType Type, const QMessageLogContext &Context, const QString &Message)
{
    if (Type == QtWarningMsg && Message.startsWith(QLatin1String("QStandardPaths:")))
        return;
    std::fprintf(stderr, "%s\n", qFormatLogMessage(Type, Context, Message).toLocal8Bit().constData());
}

} // namespace

int main(int argc, char **argv)
{
    const TOptions O = ParseOptions(argc, argv);

    // A renderer needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(FilterMessages);
    int QtArgc = 1;
    QApplication App(QtArgc, argv);

    TLumitra Clock;
    Clock.SetWidth(O.Width);
    Clock.SetHeight(O.Height);
    for (const auto &[Name, Text] : O.Sets)
        SetProperty(Clock, Name, Text);

    const int FramesPerSecond = Clock.FramesPerSecond();
    const long long Step = O.StepGiven ? O.StepMs : (FramesPerSecond > 0 ? 1000 / FramesPerSecond : 55);
    long long StartMs = O.TimeMs;
    double StartDay = std::floor(LumitraHost::Now());
    if (!O.TimeGiven) {
        const LumitraHost::TDateTime NowValue = LumitraHost::Now();
        StartDay = std::floor(NowValue);
        StartMs = LumitraHost::MilliSecondOfTheDay(NowValue);
    }

    long long Frame = 0;
    Clock.SetTimeSource([&]() {
        const long long Ms = StartMs + Frame * Step;
        const long long Days = Ms / LumitraHost::MSecsPerDay;
        return StartDay + double(Days) + double(Ms % LumitraHost::MSecsPerDay) / LumitraHost::MSecsPerDay;
    });
    if (O.Trace) {
        Clock.Canvas()->SetEllipseObserver([&](int X1, int Y1, int X2, int Y2, TColor C) {
            std::printf("%lld %d %d %d %d #%02X%02X%02X\n", Frame, X1, Y1, X2, Y2, LumitraHost::RedOf(C),
                        LumitraHost::GreenOf(C), LumitraHost::BlueOf(C));
        });
    }

    const int W = Clock.Width(), H = Clock.Height();
    if (W < 1 || H < 1)
        Fail("the control has no area (" + std::to_string(W) + "x" + std::to_string(H) + ")");
    QImage Image(W, H, QImage::Format_ARGB32_Premultiplied);
    if (O.Frames > 1 || !O.Png.isEmpty())
        std::fprintf(stderr, "lumitra-render: rendering %lld frame(s) of %dx%d, %lld ms apart\n", O.Frames, W, H,
                     Step);
    for (Frame = 0; Frame < O.Frames; ++Frame) {
        Image.fill(Qt::transparent);
        Clock.RenderTo(&Image);
    }
    std::fflush(stdout);

    if (!O.Png.isEmpty()) {
        if (!Image.save(O.Png, "PNG"))
            Fail("cannot write '" + O.Png.toStdString() + "'", 1);
        std::fprintf(stderr, "lumitra-render: wrote %s\n", O.Png.toLocal8Bit().constData());
    }
    return 0;
}
