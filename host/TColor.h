// TColor: the clock's 32-bit colour, red in the low byte, then green, then
// blue. A distinct enum type so that a plain integer or a Qt::GlobalColor
// never silently converts to it.
#pragma once

#include "HostGlobal.h"

#include <QtGui/QColor>
#include <cstdint>

namespace LumitraHost {

enum TColor : std::uint32_t {};

constexpr TColor MakeTColor(std::uint32_t Value) { return static_cast<TColor>(Value); }
constexpr TColor RGBToTColor(int R, int G, int B)
{
    return static_cast<TColor>((std::uint32_t(R) & 0xFFu) | ((std::uint32_t(G) & 0xFFu) << 8)
                               | ((std::uint32_t(B) & 0xFFu) << 16));
}
constexpr int RedOf(TColor C) { return int(std::uint32_t(C) & 0xFFu); }
constexpr int GreenOf(TColor C) { return int((std::uint32_t(C) >> 8) & 0xFFu); }
constexpr int BlueOf(TColor C) { return int((std::uint32_t(C) >> 16) & 0xFFu); }

// The high byte (a system-colour reference on other platforms) plays no part
// in the conversion; Qt resolves system colours through the palette instead.
inline QColor TColorToQColor(TColor C) { return QColor(RedOf(C), GreenOf(C), BlueOf(C)); }
inline TColor QColorToTColor(const QColor &C)
{
    const QColor Rgb = C.toRgb();
    return RGBToTColor(Rgb.red(), Rgb.green(), Rgb.blue());
}

} // namespace LumitraHost
