// The sine table and the digit glyph table.
#include "Lumitra.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace {

// Ten digits on a 5 x 7 grid and the AM and PM marks on a 10 x 7 grid: per
// glyph the number of coordinates that follow, then (column, row) pairs
// column by column, top to bottom; rows 0 (top) to 6 (bottom).
constexpr int GlyphTable[TLumitra::GlyphCount][TLumitra::GlyphSize] = {
    {38, 0,1, 0,2, 0,3, 0,4, 0,5, 1,0, 1,4, 1,6, 2,0, 2,3, 2,6, 3,0, 3,2, 3,6, 4,1, 4,2, 4,3, 4,4, 4,5},
    {20, 1,1, 1,6, 2,0, 2,1, 2,2, 2,3, 2,4, 2,5, 2,6, 3,6},
    {28, 0,1, 0,6, 1,0, 1,5, 1,6, 2,0, 2,4, 2,6, 3,0, 3,3, 3,6, 4,1, 4,2, 4,6},
    {28, 0,0, 0,5, 1,0, 1,6, 2,0, 2,2, 2,6, 3,0, 3,1, 3,3, 3,6, 4,0, 4,4, 4,5},
    {28, 0,3, 0,4, 1,2, 1,4, 2,1, 2,4, 3,0, 3,1, 3,2, 3,3, 3,4, 3,5, 3,6, 4,4},
    {34, 0,0, 0,1, 0,2, 0,5, 1,0, 1,2, 1,6, 2,0, 2,2, 2,6, 3,0, 3,2, 3,6, 4,0, 4,3, 4,4, 4,5},
    {30, 0,2, 0,3, 0,4, 0,5, 1,1, 1,3, 1,6, 2,0, 2,3, 2,6, 3,0, 3,3, 3,6, 4,4, 4,5},
    {22, 0,0, 1,0, 1,4, 1,5, 1,6, 2,0, 2,3, 3,0, 3,2, 4,0, 4,1},
    {34, 0,1, 0,2, 0,4, 0,5, 1,0, 1,3, 1,6, 2,0, 2,3, 2,6, 3,0, 3,3, 3,6, 4,1, 4,2, 4,4, 4,5},
    {30, 0,1, 0,2, 1,0, 1,3, 1,6, 2,0, 2,3, 2,6, 3,0, 3,3, 3,5, 4,1, 4,2, 4,3, 4,4},
    {50, 0,3, 0,4, 0,5, 0,6, 1,2, 1,4, 2,2, 2,4, 3,3, 3,4, 3,5, 3,6, 5,2, 5,3, 5,4, 5,5, 5,6,
         6,3, 7,4, 8,3, 9,2, 9,3, 9,4, 9,5, 9,6},
    {46, 0,2, 0,3, 0,4, 0,5, 0,6, 1,2, 1,4, 2,2, 2,4, 3,3, 5,2, 5,3, 5,4, 5,5, 5,6, 6,3, 7,4,
         8,3, 9,2, 9,3, 9,4, 9,5, 9,6},
};

// The whole degree within 0..360 that the table rules serve; values outside
// are reduced modulo 360 so that no read leaves the table.
int ReduceDegrees(int Degrees)
{
    if (Degrees >= 0 && Degrees <= 360)
        return Degrees;
    int R = Degrees % 360;
    return R < 0 ? R + 360 : R;
}

} // namespace

void TLumitra::BuildSinTable()
{
    for (int I = 0; I < SinTableSize; ++I)
        FSinTable[I] = int(std::trunc(std::sin(double(I) * std::numbers::pi / 180.0) * 256.0));
}

void TLumitra::BuildGlyphs()
{
    std::memcpy(FGlyphs, GlyphTable, sizeof(FGlyphs));
    // Centre the digits on row 0: rows run from -3 (top) to 3 (bottom).
    for (auto &Glyph : FGlyphs)
        for (int J = 2; J <= Glyph[0] && J < GlyphSize; J += 2)
            Glyph[J] -= 3;
}

int TLumitra::Sine(int Degrees) const
{
    const int A = ReduceDegrees(Degrees);
    const int V = FSinTable[A % 180];
    return A <= 180 ? V : -V;
}

int TLumitra::Cosine(int Degrees) const
{
    const int A = ReduceDegrees(Degrees);
    const int V = FSinTable[(A + 90) % 180];
    return (A <= 90 || A >= 270) ? V : -V;
}
