// TCustomControl: a windowed control with a canvas of its own, over QWidget.
// Color is the palette's window colour, filled before every paint
// (autoFillBackground); ParentColor means the palette is inherited. Qt's
// parent and palette change events reach WndProc as the two colour
// notifications.
#pragma once

#include "HostGlobal.h"
#include "TCanvas.h"
#include "TColor.h"

#include <QtWidgets/QWidget>
#include <atomic>
#include <cstdint>
#include <thread>

class QSocketNotifier;

namespace LumitraHost {

struct TMessage
{
    unsigned Msg = 0;
    std::intptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};

// The control was placed in a parent, or the colour it inherits changed.
inline constexpr unsigned CM_PARENTCOLORCHANGED = 0xB009;
// The control's own colour changed.
inline constexpr unsigned CM_COLORCHANGED = 0xB00D;

class LUMITRA_EXPORT TCustomControl : public QWidget
{
    Q_OBJECT
    // Designer edits the palette itself; these two name the same state for
    // code and for tools that set properties by name.
    Q_PROPERTY(QColor Color READ ColorValue WRITE SetColorValue DESIGNABLE false STORED false)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor DESIGNABLE false STORED false)

public:
    explicit TCustomControl(QWidget *Parent = nullptr);
    ~TCustomControl() override;

    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetWidth(int Value);
    void SetHeight(int Value);

    TColor Color() const;
    QColor ColorValue() const;
    void SetColorValue(const QColor &Value);
    void SetColorValue(TColor Value) { SetColorValue(TColorToQColor(Value)); }
    bool ParentColor() const;
    void SetParentColor(bool Value);

    TCanvas *Canvas() { return &FCanvas; }

    // Requests a paint of the whole control later, on the GUI thread.
    void Invalidate();
    // Paints the whole control now when called on the GUI thread. From any
    // other thread it asks the GUI thread to paint the control and returns
    // at once; while one such request is pending, further ones are dropped.
    void Repaint();
    // A request made by Repaint from another thread has not yet been taken
    // up by the GUI thread.
    bool RepaintPending() const { return FRepaintPending.load(std::memory_order_acquire); }

    // Renders one frame of the control into Target at Offset, exactly as a
    // paint on screen does (background fill included).
    void RenderTo(QPaintDevice *Target, const QPoint &Offset = QPoint());

protected:
    // Draws over a background already filled with Color; the canvas is bound
    // to the paint's painter.
    virtual void Paint() {}
    virtual void WndProc(TMessage &Message);
    // GUI thread: a request of Repaint from another thread has been taken up
    // and the paint scheduled; RepaintPending is false again.
    virtual void RepaintRequestTaken() {}

    bool event(QEvent *Event) override;
    void paintEvent(QPaintEvent *Event) override;

private:
    void TakeRepaintRequest();

    TCanvas FCanvas;
    const std::thread::id FGuiThread;
    std::atomic<bool> FRepaintPending{false};
    // Requests from other threads cross over an eventfd watched on the GUI
    // thread, so the requesting thread never enters Qt or allocates.
    int FRequestFd = -1;
    QSocketNotifier *FRequestNotifier = nullptr;
};

} // namespace LumitraHost
