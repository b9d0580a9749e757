#include "TCustomControl.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QEvent>
#include <QtCore/QSocketNotifier>
#include <QtGui/QPainter>

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>

namespace LumitraHost {

TCustomControl::TCustomControl(QWidget *Parent)
    : QWidget(Parent), FGuiThread(std::this_thread::get_id())
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    FRequestFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (FRequestFd >= 0) {
        FRequestNotifier = new QSocketNotifier(FRequestFd, QSocketNotifier::Read, this);
        connect(FRequestNotifier, &QSocketNotifier::activated, this, [this] { TakeRepaintRequest(); });
    }
}

TCustomControl::~TCustomControl()
{
    // A request still pending dies with the notifier: it is never taken.
    delete FRequestNotifier;
    FRequestNotifier = nullptr;
    if (FRequestFd >= 0)
        ::close(FRequestFd);
}

void TCustomControl::SetWidth(int Value)
{
    resize(Value, height());
}

void TCustomControl::SetHeight(int Value)
{
    resize(width(), Value);
}

TColor TCustomControl::Color() const
{
    return QColorToTColor(ColorValue());
}

QColor TCustomControl::ColorValue() const
{
    return palette().color(QPalette::Window);
}

void TCustomControl::SetColorValue(const QColor &Value)
{
    QPalette Palette = palette();
    Palette.setColor(QPalette::Window, Value);
    setPalette(Palette);
}

bool TCustomControl::ParentColor() const
{
    return !testAttribute(Qt::WA_SetPalette);
}

void TCustomControl::SetParentColor(bool Value)
{
    if (Value == ParentColor())
        return;
    if (Value) {
        // An empty palette resolves against the inherited one entirely.
        setPalette(QPalette());
    } else {
        // Keep the colour now shown, but as the control's own.
        QPalette Own = palette();
        Own.setColor(QPalette::Window, Own.color(QPalette::Window));
        setPalette(Own);
    }
}

void TCustomControl::Invalidate()
{
    update();
}

void TCustomControl::Repaint()
{
    if (std::this_thread::get_id() == FGuiThread) {
        repaint();
        return;
    }
    if (FRepaintPending.exchange(true, std::memory_order_acq_rel))
        return;
    if (FRequestFd >= 0) {
        const std::uint64_t One = 1;
        while (::write(FRequestFd, &One, sizeof One) < 0 && errno == EINTR) {
        }
    } else {
        QMetaObject::invokeMethod(this, [this] { TakeRepaintRequest(); }, Qt::QueuedConnection);
    }
}

void TCustomControl::TakeRepaintRequest()
{
    if (FRequestFd >= 0) {
        std::uint64_t Count;
        while (::read(FRequestFd, &Count, sizeof Count) < 0 && errno == EINTR) {
        }
    }
    FRepaintPending.store(false, std::memory_order_release);
    update();
    RepaintRequestTaken();
}

void TCustomControl::RenderTo(QPaintDevice *Target, const QPoint &Offset)
{
    render(Target, Offset, QRegion(), QWidget::DrawWindowBackground);
}

void TCustomControl::WndProc(TMessage &Message)
{
    Q_UNUSED(Message);
}

bool TCustomControl::event(QEvent *Event)
{
    const QEvent::Type Type = Event->type();
    const bool Handled = QWidget::event(Event);
    if (Type == QEvent::ParentChange || Type == QEvent::PaletteChange) {
        TMessage Message;
        // A palette change of a control with a palette of its own is its own
        // colour; otherwise it came down from the parent.
        Message.Msg = (Type == QEvent::PaletteChange && testAttribute(Qt::WA_SetPalette))
                          ? CM_COLORCHANGED
                          : CM_PARENTCOLORCHANGED;
        WndProc(Message);
    }
    return Handled;
}

void TCustomControl::paintEvent(QPaintEvent *Event)
{
    Q_UNUSED(Event);
    QPainter Painter(this);
    FCanvas.SetPainter(&Painter);
    struct Unbind
    {
        TCanvas &C;
        ~Unbind() { C.SetPainter(nullptr); }
    } Guard{FCanvas};
    Paint();
}

} // namespace LumitraHost
