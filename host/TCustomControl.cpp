#include "TCustomControl.h"

#include <QtCore/QEvent>
#include <QtCore/QThread>
#include <QtCore/QCoreApplication>
#include <QtGui/QPainter>

namespace LumitraHost {

TCustomControl::TCustomControl(QWidget *Parent) : QWidget(Parent)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
}

TCustomControl::~TCustomControl() = default;

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
    if (QThread::currentThread() == thread())
        repaint();
    else
        QMetaObject::invokeMethod(this, qOverload<>(&QWidget::update), Qt::QueuedConnection);
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
