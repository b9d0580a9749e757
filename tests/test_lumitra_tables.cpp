// The sine table with Sine and Cosine, and the digit glyph table as a clock
// holds it after construction.
#include "LumitraProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <string>
#include <utility>
#include <vector>

namespace {

int Mod360(long long A)
{
    const long long R = A % 360;
    return int(R < 0 ? R + 360 : R);
}

class LumitraSine : public ::testing::Test
{
protected:
    TLumitra Clock;
    TLumitraProbe P{Clock};
    const int *Table = P.SinTable();
};

TEST_F(LumitraSine, TableEntries)
{
    const std::pair<int, int> Entries[] = {
        {0, 0}, {1, 4}, {2, 8}, {3, 13}, {10, 44}, {15, 66}, {29, 124}, {30, 127}, {31, 131},
        {45, 181}, {60, 221}, {75, 247}, {84, 254}, {85, 255}, {89, 255}, {90, 256}, {91, 255},
        {135, 181}, {150, 127}, {179, 4},
    };
    for (const auto &[I, V] : Entries)
        EXPECT_EQ(Table[I], V) << "entry " << I;
}

TEST_F(LumitraSine, TableShape)
{
    for (int I = 1; I < TLumitra::SinTableSize; ++I)
        EXPECT_EQ(Table[180 - I], Table[I]) << "entry " << I;
    for (int I = 1; I <= 90; ++I)
        EXPECT_LE(Table[I - 1], Table[I]) << "entry " << I;
    EXPECT_EQ(std::count(Table, Table + TLumitra::SinTableSize, 256), 1);
    for (int I = 85; I <= 95; ++I)
        EXPECT_EQ(Table[I], I == 90 ? 256 : 255) << "entry " << I;
    // The double sine of 30 and 150 degrees lies just below one half.
    EXPECT_EQ(Table[30], 127);
    EXPECT_EQ(Table[150], 127);
    // Every instance holds the same table.
    TLumitra Other;
    EXPECT_TRUE(std::equal(Table, Table + TLumitra::SinTableSize, TLumitraProbe(Other).SinTable()));
}

TEST_F(LumitraSine, TellingAngles)
{
    struct Row
    {
        int Degrees, Sin, Cos;
    } const Rows[] = {
        {0, 0, 256}, {30, 127, 221}, {60, 221, 127}, {90, 256, 0}, {91, 255, -4},
        {120, 221, -127}, {150, 127, -221}, {180, 0, -256}, {181, -4, -255}, {210, -127, -221},
        {240, -221, -127}, {269, -255, -4}, {270, -256, 0}, {271, -255, 4}, {300, -221, 127},
        {330, -127, 221}, {359, -4, 255}, {360, 0, 256},
    };
    for (const Row &R : Rows) {
        EXPECT_EQ(Clock.Sine(R.Degrees), R.Sin) << R.Degrees;
        EXPECT_EQ(Clock.Cosine(R.Degrees), R.Cos) << R.Degrees;
    }
}

TEST_F(LumitraSine, SymmetriesOverOneTurn)
{
    for (int A = 0; A <= 360; ++A) {
        SCOPED_TRACE(A);
        EXPECT_EQ(Clock.Sine(A), -Clock.Sine(360 - A));
        EXPECT_EQ(Clock.Cosine(A), Clock.Cosine(360 - A));
        if (A <= 180) {
            EXPECT_EQ(Clock.Sine(A), Clock.Sine(180 - A));
        }
        if (A <= 270) {
            EXPECT_EQ(Clock.Cosine(A), Clock.Sine(A + 90));
        }
        EXPECT_EQ(Clock.Sine(A) >= 0, A <= 180 || A == 360);
        const int S = Clock.Sine(A), C = Clock.Cosine(A);
        EXPECT_NEAR(S * S + C * C, 65536, 2 * 256 * 4);
    }
}

// Arguments outside 0..360 are read as the same angle within one turn, so
// the true sine and cosine come out and the table is never left.
TEST_F(LumitraSine, ArgumentsOutsideOneTurn)
{
    const int Args[] = {INT_MIN, INT_MIN + 1, -1000000, -721, -450, -360, -270, -181, -91,
                        -90, -1, 361, 390, 450, 539, 540, 721, 1000000, INT_MAX - 1, INT_MAX};
    for (const int A : Args) {
        SCOPED_TRACE(A);
        EXPECT_EQ(Clock.Sine(A), Clock.Sine(Mod360(A)));
        EXPECT_EQ(Clock.Cosine(A), Clock.Cosine(Mod360(A)));
    }
    EXPECT_EQ(Clock.Sine(390), 127);
    EXPECT_EQ(Clock.Sine(450), 256);
    EXPECT_EQ(Clock.Sine(-90), -256);
    EXPECT_EQ(Clock.Cosine(-90), 0);
    EXPECT_EQ(Clock.Cosine(-60), 127);
    EXPECT_EQ(Clock.Cosine(420), 127);
}

// The glyphs as pictures, rows top to bottom: the stored dots must be these,
// column by column from the left and top to bottom within a column, with
// the rows moved so that the digits' middle row is 0.
const std::vector<std::vector<std::string>> Pictures = {
    {".XXX.", "X...X", "X..XX", "X.X.X", "XX..X", "X...X", ".XXX."},
    {"..X..", ".XX..", "..X..", "..X..", "..X..", "..X..", ".XXX."},
    {".XXX.", "X...X", "....X", "...X.", "..X..", ".X...", "XXXXX"},
    {"XXXXX", "...X.", "..X..", "...X.", "....X", "X...X", ".XXX."},
    {"...X.", "..XX.", ".X.X.", "X..X.", "XXXXX", "...X.", "...X."},
    {"XXXXX", "X....", "XXXX.", "....X", "....X", "X...X", ".XXX."},
    {"..XX.", ".X...", "X....", "XXXX.", "X...X", "X...X", ".XXX."},
    {"XXXXX", "....X", "...X.", "..X..", ".X...", ".X...", ".X..."},
    {".XXX.", "X...X", "X...X", ".XXX.", "X...X", "X...X", ".XXX."},
    {".XXX.", "X...X", "X...X", ".XXXX", "....X", "...X.", ".XX.."},
    {"..........", "..........", ".XX..X...X", "X..X.XX.XX", "XXXX.X.X.X", "X..X.X...X", "X..X.X...X"},
    {"..........", "..........", "XXX..X...X", "X..X.XX.XX", "XXX..X.X.X", "X....X...X", "X....X...X"},
};

TEST(LumitraGlyphs, StoredDotsMatchThePictures)
{
    TLumitra C;
    auto Glyphs = TLumitraProbe(C).Glyphs();
    for (int G = 0; G < TLumitra::GlyphCount; ++G) {
        SCOPED_TRACE(G);
        const auto &Rows = Pictures[G];
        std::vector<int> Expected;
        for (int Col = 0; Col < int(Rows[0].size()); ++Col)
            for (int Row = 0; Row < 7; ++Row)
                if (Rows[Row][Col] == 'X') {
                    Expected.push_back(Col);
                    Expected.push_back(Row - 3);
                }
        ASSERT_LE(Expected.size(), 50u);
        const int *Glyph = Glyphs[G];
        EXPECT_EQ(Glyph[0], int(Expected.size()));
        EXPECT_EQ(std::vector<int>(Glyph + 1, Glyph + 1 + Expected.size()), Expected);
        for (int J = 1 + int(Expected.size()); J < TLumitra::GlyphSize; ++J)
            EXPECT_EQ(Glyph[J], 0) << "tail element " << J;
    }
}

TEST(LumitraGlyphs, ConstructionAdjustment)
{
    TLumitra C;
    auto Glyphs = TLumitraProbe(C).Glyphs();
    const std::vector<int> One = {20, 1, -2, 1, 3, 2, -3, 2, -2, 2, -1, 2, 0, 2, 1, 2, 2, 2, 3, 3, 3};
    EXPECT_EQ(std::vector<int>(Glyphs[1], Glyphs[1] + One.size()), One);
    // The AM mark fills its record: 25 dots, the last in elements 49 and 50.
    EXPECT_EQ(Glyphs[10][0], 50);
    EXPECT_EQ(Glyphs[10][1], 0);
    EXPECT_EQ(Glyphs[10][2], 0);
    EXPECT_EQ(Glyphs[10][49], 9);
    EXPECT_EQ(Glyphs[10][50], 3);
    EXPECT_EQ(Glyphs[0][0], 38);
    // Each instance adjusts its own copy; the constant table stays as it was.
    TLumitra Second;
    auto Again = TLumitraProbe(Second).Glyphs();
    for (int G = 0; G < TLumitra::GlyphCount; ++G)
        EXPECT_TRUE(std::equal(Glyphs[G], Glyphs[G] + TLumitra::GlyphSize, Again[G])) << G;
}

// Every time of day fits the 150-entry dot arrays: six digits, two colons of
// two dots, and in 12-hour time the mark.
TEST(LumitraGlyphs, DotsPerTimeOfDayFitTheArrays)
{
    TLumitra C;
    auto Glyphs = TLumitraProbe(C).Glyphs();
    const auto Dots = [&](int G) { return Glyphs[G][0] / 2; };
    for (const bool TwelveHour : {false, true}) {
        SCOPED_TRACE(TwelveHour ? "12-hour" : "24-hour");
        int Fewest = INT_MAX, Most = 0;
        std::vector<std::array<int, 3>> FewestAt, MostAt;
        for (int H = 0; H < 24; ++H)
            for (int M = 0; M < 60; ++M)
                for (int S = 0; S < 60; ++S) {
                    int Hour = H, Mark = 0;
                    if (TwelveHour) {
                        Mark = H >= 12 ? 11 : 10;
                        Hour = H % 12 == 0 ? 12 : H % 12;
                    }
                    const int N = Dots(Hour / 10) + Dots(Hour % 10) + Dots(M / 10) + Dots(M % 10)
                                  + Dots(S / 10) + Dots(S % 10) + 4 + (TwelveHour ? Dots(Mark) : 0);
                    if (N < Fewest)
                        Fewest = N, FewestAt.clear();
                    if (N == Fewest)
                        FewestAt.push_back({H, M, S});
                    if (N > Most)
                        Most = N, MostAt.clear();
                    if (N == Most)
                        MostAt.push_back({H, M, S});
                }
        using T = std::vector<std::array<int, 3>>;
        if (TwelveHour) {
            EXPECT_EQ(Fewest, 87);
            EXPECT_EQ(FewestAt, (T{{23, 11, 11}}));
            EXPECT_EQ(Most, 141);
            EXPECT_EQ(MostAt, (T{{5, 0, 0}, {8, 0, 0}}));
        } else {
            EXPECT_EQ(Fewest, 64);
            EXPECT_EQ(FewestAt, (T{{11, 11, 11}}));
            EXPECT_EQ(Most, 118);
            EXPECT_EQ(MostAt, (T{{0, 0, 0}}));
        }
        EXPECT_LE(Most, TLumitra::MaxDots);
    }
}

} // namespace
