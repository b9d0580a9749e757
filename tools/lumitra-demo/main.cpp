// lumitra-demo: a window with a running clock beside a panel that edits every
// published property of the clock while it runs, and the frame rate the clock
// achieves. Without a display it says how to get one and writes a picture of
// the clock instead.
#include "Lumitra.h"

#include <QtCore/QDir>
#include <QtCore/QElapsedTimer>
#include <QtCore/QFileInfo>
#include <QtCore/QMetaEnum>
#include <QtCore/QMetaProperty>
#include <QtCore/QTimer>
#include <QtGui/QImageReader>
#include <QtGui/QLinearGradient>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QColorDialog>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDoubleSpinBox>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QScrollArea>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QSplitter>
#include <QtWidgets/QVBoxLayout>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

const char Usage[] =
    "Usage: lumitra-demo [--output FILE] [--quit-after SECONDS]\n"
    "\n"
    "Shows a resizable window with a running Lumitra clock beside a panel that\n"
    "edits every published property of the clock live, with the frame rate the\n"
    "clock achieves.\n"
    "\n"
    "Without a display (no DISPLAY or WAYLAND_DISPLAY and no QT_QPA_PLATFORM) it\n"
    "says how to get one, for instance a virtual one with\n"
    "  xvfb-run -a lumitra-demo\n"
    "and writes a picture of the clock instead, with lumitra-render where it is\n"
    "installed beside this program.\n"
    "\n"
    "Options:\n"
    "  --output FILE        where the picture goes without a display\n"
    "                       (default lumitra-demo.png)\n"
    "  --quit-after SECONDS close the window after that many seconds (1..86400)\n"
    "  --help               this text\n";

// A picture to try the background placements with when no file is at hand.
QPixmap SamplePicture()
{
    QImage Image(256, 256, QImage::Format_RGB32);
    QPainter P(&Image);
    QLinearGradient G(0, 0, 256, 256);
    G.setColorAt(0.0, QColor(20, 40, 90));
    G.setColorAt(1.0, QColor(90, 20, 60));
    P.fillRect(Image.rect(), G);
    P.setPen(QColor(255, 255, 255, 60));
    for (int I = 0; I < 256; I += 16) {
        P.drawLine(I, 0, I, 255);
        P.drawLine(0, I, 255, I);
    }
    P.end();
    return QPixmap::fromImage(Image);
}

void SetSwatch(QPushButton *Button, const QColor &Color)
{
    QPixmap Swatch(32, 14);
    Swatch.fill(Color);
    Button->setIcon(QIcon(Swatch));
    Button->setText(Color.name());
}

// Builds one editor per published property and keeps them in step with the
// clock: every edit is written through the meta-object, then all editors are
// read back, since one property can change another (Color and ParentColor,
// fallbacks of the numeric setters).
class TPropertyPanel : public QWidget
{
public:
    explicit TPropertyPanel(TLumitra *Clock) : FClock(Clock)
    {
        auto *Form = new QFormLayout(this);
        const QMetaObject *Meta = Clock->metaObject();
        // The control's own properties, then the two colour properties of
        // its base; the rest of QWidget's are not the clock's.
        std::vector<QMetaProperty> Props;
        for (int I = Meta->propertyOffset(); I < Meta->propertyCount(); ++I)
            Props.push_back(Meta->property(I));
        for (const char *Name : {"Color", "ParentColor"})
            Props.push_back(Meta->property(Meta->indexOfProperty(Name)));
        for (const QMetaProperty &P : Props)
            Form->addRow(QString::fromLatin1(P.name()), EditorFor(P));
        Refresh();
    }

private:
    QWidget *EditorFor(const QMetaProperty &P)
    {
        const QString Name = QString::fromLatin1(P.name());
        if (!P.isWritable()) {
            auto *Label = new QLabel;
            FRefresh.push_back([=, this] {
                const int V = P.read(FClock).toInt();
                Label->setText(QStringLiteral("%1 (version %2.%3)").arg(V).arg(V >> 8).arg(V & 0xFF));
            });
            return Label;
        }
        if (P.isEnumType()) {
            const QMetaEnum E = P.enumerator();
            auto *Box = new QComboBox;
            for (int K = 0; K < E.keyCount(); ++K)
                Box->addItem(QString::fromLatin1(E.key(K)), E.value(K));
            connect(Box, &QComboBox::activated, this, [=, this](int Index) {
                Write(P, QString::fromLatin1(E.key(Index)));
            });
            FRefresh.push_back([=, this] { Box->setCurrentIndex(Box->findData(P.read(FClock).toInt())); });
            return Box;
        }
        switch (P.metaType().id()) {
        case QMetaType::Bool: {
            auto *Check = new QCheckBox;
            connect(Check, &QCheckBox::toggled, this, [=, this](bool On) { Write(P, On); });
            FRefresh.push_back([=, this] { Check->setChecked(P.read(FClock).toBool()); });
            return Check;
        }
        case QMetaType::Int: {
            auto *Spin = new QSpinBox;
            // Wide enough for every fallback and for values beyond the
            // sensible ones, which the clock must survive.
            Spin->setRange(-1000000, 1000000);
            Spin->setKeyboardTracking(false);
            if (Name == QLatin1String("ClockDistance"))
                Spin->setSingleStep(500);
            connect(Spin, &QSpinBox::valueChanged, this, [=, this](int V) { Write(P, V); });
            FRefresh.push_back([=, this] { Spin->setValue(P.read(FClock).toInt()); });
            return Spin;
        }
        case QMetaType::Double: {
            auto *Spin = new QDoubleSpinBox;
            Spin->setRange(-360.0, 360.0);
            Spin->setDecimals(3);
            Spin->setSingleStep(0.5);
            Spin->setKeyboardTracking(false);
            connect(Spin, &QDoubleSpinBox::valueChanged, this, [=, this](double V) { Write(P, V); });
            FRefresh.push_back([=, this] { Spin->setValue(P.read(FClock).toDouble()); });
            return Spin;
        }
        case QMetaType::QColor: {
            auto *Button = new QPushButton;
            connect(Button, &QPushButton::clicked, this, [=, this] {
                const QColor Chosen = QColorDialog::getColor(P.read(FClock).value<QColor>(), this,
                                                             QStringLiteral("Choose %1").arg(Name));
                if (Chosen.isValid())
                    Write(P, Chosen);
            });
            FRefresh.push_back([=, this] { SetSwatch(Button, P.read(FClock).value<QColor>()); });
            return Button;
        }
        case QMetaType::QPixmap:
            return PictureChooser(P);
        default:
            return new QLabel(QStringLiteral("(not editable here)"));
        }
    }

    QWidget *PictureChooser(const QMetaProperty &P)
    {
        auto *Box = new QWidget;
        auto *Row = new QHBoxLayout(Box);
        Row->setContentsMargins(0, 0, 0, 0);
        auto *Info = new QLabel;
        auto *Open = new QPushButton(QStringLiteral("File..."));
        auto *Sample = new QPushButton(QStringLiteral("Sample"));
        auto *Clear = new QPushButton(QStringLiteral("Clear"));
        Row->addWidget(Info, 1);
        Row->addWidget(Open);
        Row->addWidget(Sample);
        Row->addWidget(Clear);
        connect(Open, &QPushButton::clicked, this, [=, this] {
            QStringList Patterns;
            for (const QByteArray &F : QImageReader::supportedImageFormats())
                Patterns << QStringLiteral("*.") + QString::fromLatin1(F);
            const QString File = QFileDialog::getOpenFileName(
                this, QStringLiteral("Background picture"), QString(),
                QStringLiteral("Pictures (%1)").arg(Patterns.join(QLatin1Char(' '))));
            if (File.isEmpty())
                return;
            QPixmap Picture(File);
            if (Picture.isNull()) {
                Info->setText(QStringLiteral("cannot read"));
                return;
            }
            Write(P, Picture);
        });
        connect(Sample, &QPushButton::clicked, this, [=, this] { Write(P, SamplePicture()); });
        connect(Clear, &QPushButton::clicked, this, [=, this] { Write(P, QPixmap()); });
        FRefresh.push_back([=, this] {
            const QPixmap Picture = P.read(FClock).value<QPixmap>();
            Info->setText(Picture.isNull() ? QStringLiteral("none")
                                           : QStringLiteral("%1 x %2").arg(Picture.width()).arg(Picture.height()));
        });
        return Box;
    }

    void Write(const QMetaProperty &P, const QVariant &Value)
    {
        P.write(FClock, Value);
        Refresh();
    }

    void Refresh()
    {
        // Editors must not write back the values they are given.
        const QList<QWidget *> Editors = findChildren<QWidget *>();
        for (QWidget *W : Editors)
            W->blockSignals(true);
        for (const auto &R : FRefresh)
            R();
        for (QWidget *W : Editors)
            W->blockSignals(false);
    }

    TLumitra *FClock;
    std::vector<std::function<void()>> FRefresh;
};

// Counts the clock's paints to show the frame rate it achieves.
class TFrameCounter : public QObject
{
public:
    int Paints = 0;

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override
    {
        if (Event->type() == QEvent::Paint)
            ++Paints;
        return QObject::eventFilter(Watched, Event);
    }
};

bool HasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// lumitra-render beside this program (installed) or in its build-tree
// folder; empty when there is none.
std::string RenderTool()
{
    const QFileInfo Self(QStringLiteral("/proc/self/exe"));
    const QDir Dir = QFileInfo(Self.canonicalFilePath()).dir();
    for (const QString &Candidate :
         {Dir.filePath(QStringLiteral("lumitra-render")),
          Dir.filePath(QStringLiteral("../lumitra-render/lumitra-render"))}) {
        const QFileInfo Tool(Candidate);
        if (Tool.isFile() && Tool.isExecutable())
            return Tool.canonicalFilePath().toStdString();
    }
    return {};
}

int WritePicture(int argc, char **argv, const QString &Output)
{
    const std::string Tool = RenderTool();
    if (!Tool.empty()) {
        const std::string File = Output.toStdString();
        std::fprintf(stderr, "lumitra-demo: rendering the clock with %s to %s\n", Tool.c_str(), File.c_str());
        std::fflush(stderr);
        const char *Args[] = {Tool.c_str(), "--size", "256x256", "--set", "Color=#101828", "--set",
                              "PixDistance=48", "--set", "RotX=0.7", "--frames", "40", "--png",
                              File.c_str(), nullptr};
        execv(Tool.c_str(), const_cast<char *const *>(Args));
        std::fprintf(stderr, "lumitra-demo: cannot start %s; drawing the picture itself\n", Tool.c_str());
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    TLumitra Clock;
    Clock.resize(256, 256);
    Clock.SetColorValue(QColor(16, 16, 24));
    Clock.SetPixDistance(48);
    QImage Image(Clock.size(), QImage::Format_ARGB32_Premultiplied);
    // The dot model is built on the first frame; the second shows it turned
    // by one step.
    Clock.RenderTo(&Image);
    Clock.RenderTo(&Image);
    if (!Image.save(Output)) {
        std::fprintf(stderr, "lumitra-demo: cannot write %s\n", qPrintable(Output));
        return 1;
    }
    std::printf("lumitra-demo: wrote a picture of the clock to %s\n", qPrintable(Output));
    return 0;
}

int Fail(const std::string &Message)
{
    std::fprintf(stderr, "lumitra-demo: %s (see --help)\n", Message.c_str());
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QString Output = QStringLiteral("lumitra-demo.png");
    int QuitAfter = 0;
    for (int I = 1; I < argc; ++I) {
        const std::string Arg = argv[I];
        if (Arg == "--help" || Arg == "-h") {
            std::fputs(Usage, stdout);
            return 0;
        } else if (Arg == "--output" && I + 1 < argc) {
            Output = QString::fromLocal8Bit(argv[++I]);
        } else if (Arg == "--quit-after" && I + 1 < argc) {
            char *End = nullptr;
            const long V = std::strtol(argv[++I], &End, 10);
            if (End == argv[I] || *End || V < 1 || V > 86400)
                return Fail(std::string("--quit-after wants 1 to 86400 seconds, got '") + argv[I] + "'");
            QuitAfter = int(V);
        } else {
            return Fail("unknown or incomplete argument '" + Arg + "'");
        }
    }

    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "lumitra-demo: no display found (DISPLAY is not set).\n"
                     "lumitra-demo: run it on a desktop, or under a virtual display: xvfb-run -a %s\n"
                     "lumitra-demo: writing a picture of the clock instead.\n",
                     argv[0]);
        return WritePicture(argc, argv, Output);
    }

    QApplication App(argc, argv);
    QWidget Window;
    Window.setWindowTitle(QStringLiteral("Lumitra demo"));
    auto *Layout = new QHBoxLayout(&Window);
    auto *Split = new QSplitter;
    Layout->addWidget(Split);

    auto *ClockSide = new QWidget;
    auto *ClockColumn = new QVBoxLayout(ClockSide);
    auto *Clock = new TLumitra;
    Clock->setMinimumSize(128, 128);
    Clock->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto *Rate = new QLabel;
    ClockColumn->addWidget(Clock, 1);
    ClockColumn->addWidget(Rate);
    Split->addWidget(ClockSide);

    Clock->SetPixDistance(40);
    Clock->SetActive(true);

    auto *Scroll = new QScrollArea;
    Scroll->setWidget(new TPropertyPanel(Clock));
    Scroll->setWidgetResizable(true);
    Scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Scroll->setMinimumWidth(Scroll->widget()->sizeHint().width() + 24);
    Split->addWidget(Scroll);
    Split->setStretchFactor(0, 1);

    TFrameCounter Counter;
    Clock->installEventFilter(&Counter);
    QTimer RateTimer;
    QElapsedTimer Since;
    Since.start();
    QObject::connect(&RateTimer, &QTimer::timeout, [&] {
        const double Seconds = double(Since.restart()) / 1000.0;
        const double Fps = Seconds > 0 ? Counter.Paints / Seconds : 0.0;
        Counter.Paints = 0;
        const int Target = Clock->FramesPerSecond();
        Rate->setText(QStringLiteral("achieved %1 frames per second (FramesPerSecond %2, period %3 ms)%4")
                          .arg(Fps, 0, 'f', 1)
                          .arg(Target)
                          .arg(Target > 0 ? 1000 / Target : 55)
                          .arg(Clock->Active() ? QString() : QStringLiteral(", not active")));
    });
    RateTimer.start(1000);

    if (QuitAfter > 0)
        QTimer::singleShot(QuitAfter * 1000, &App, &QApplication::quit);
    Window.resize(900, 620);
    Window.show();
    std::printf("lumitra-demo: showing the clock on %s; close the window to end\n",
                qPrintable(QGuiApplication::platformName()));
    std::fflush(stdout);
    return App.exec();
}
