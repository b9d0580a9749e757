// The clock engine's integer arithmetic: 32-bit two's complement, divisions
// that truncate toward zero, arithmetic right shifts. Written so that no
// operation is undefined in C++: products and sums wrap, a division by zero
// gives 0 and INT_MIN / -1 gives INT_MIN (its wrapped result).
#pragma once

#include <cstdint>

namespace LumitraInt32 {

constexpr std::int32_t Wrap(std::int64_t V)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(V)));
}
constexpr std::int32_t Add(std::int32_t A, std::int32_t B)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(A) + static_cast<std::uint32_t>(B));
}
constexpr std::int32_t Sub(std::int32_t A, std::int32_t B)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(A) - static_cast<std::uint32_t>(B));
}
constexpr std::int32_t Mul(std::int32_t A, std::int32_t B)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(A) * static_cast<std::uint32_t>(B));
}
constexpr std::int32_t Neg(std::int32_t A)
{
    return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(A));
}
constexpr std::int32_t Div(std::int32_t A, std::int32_t B)
{
    if (B == 0)
        return 0;
    if (B == -1)
        return Neg(A);
    return A / B;
}
// Arithmetic shift right (floor division by 2 to the N). C++20 defines >> on
// negative values this way.
constexpr std::int32_t Sar(std::int32_t A, int N)
{
    return A >> N;
}

} // namespace LumitraInt32
