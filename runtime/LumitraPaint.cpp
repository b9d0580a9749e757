// One frame: the background picture, then the dots; the colour notifications
// that rebuild the shade ramp; and what the worker needs to hear from the GUI
// thread.
#include "ClockThread.h"
#include "Lumitra.h"

#include <memory>

using namespace LumitraHost;

void TLumitra::Paint()
{
    TCanvas *C = Canvas();
    C->Lock();
    struct Unlock
    {
        TCanvas *C;
        ~Unlock() { C->Unlock(); }
    } Guard{C};

    const TGraphic *Graphic = FBackgroundImage->Graphic();
    if (!Graphic)
        FSourceBitmap.reset();
    if (Graphic) {
        if (FImageSourcePointX != 0 || FImageSourcePointY != 0) {
            // The conversion is kept while the picture stays the same.
            if (!FSourceBitmap || FSourceRevision != FBackgroundImage->Revision()) {
                FSourceBitmap.reset();
                auto Bitmap = std::make_unique<TBitmap>();
                Bitmap->Assign(Graphic);
                // A picture that cannot be converted costs this frame its
                // dots, and the angles stay where they are.
                if (Bitmap->Empty())
                    return;
                FSourceBitmap = std::move(Bitmap);
                FSourceRevision = FBackgroundImage->Revision();
            }
            // The picture from the source point to (Width, Height), scaled to
            // the whole control.
            C->CopyRect(RectFromEdges(0, 0, Width(), Height()), FSourceBitmap->GetCanvas(),
                        RectFromEdges(FImageSourcePointX, FImageSourcePointY, Width(), Height()));
        } else if (FStretched) {
            C->StretchDraw(RectFromEdges(0, 0, Width(), Height()), Graphic);
        } else {
            C->Draw(0, 0, Graphic);
        }
    }
    CalculateClockTimeDots();
    DrawClockDots();
}

void TLumitra::WndProc(TMessage &Message)
{
    TCustomControl::WndProc(Message);
    // Also when the colour did not really change.
    if (Message.Msg == CM_PARENTCOLORCHANGED || Message.Msg == CM_COLORCHANGED)
        SetColor();
}

void TLumitra::RepaintRequestTaken()
{
    FThread->RequestTaken();
}

void TLumitra::showEvent(QShowEvent *Event)
{
    TCustomControl::showEvent(Event);
    FThread->SetShowing(true);
}

void TLumitra::hideEvent(QHideEvent *Event)
{
    TCustomControl::hideEvent(Event);
    FThread->SetShowing(false);
}
