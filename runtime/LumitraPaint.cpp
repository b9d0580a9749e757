// One frame: the background picture, then the dots; and the colour
// notifications that rebuild the shade ramp.
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

    if (const TGraphic *Graphic = FBackgroundImage->Graphic()) {
        if (FImageSourcePointX != 0 || FImageSourcePointY != 0) {
            // The picture from the source point to (Width, Height), scaled to
            // the whole control.
            auto Bitmap = std::make_unique<TBitmap>();
            Bitmap->Assign(Graphic);
            C->CopyRect(RectFromEdges(0, 0, Width(), Height()), Bitmap->GetCanvas(),
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
    if (Message.Msg == CM_PARENTCOLORCHANGED || Message.Msg == CM_COLORCHANGED)
        SetColor();
}
