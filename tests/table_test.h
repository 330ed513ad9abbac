#pragma once

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <ostream>
#include <string_view>
#include <type_traits>

namespace lumasio::tests {

// A row of a table test: what goes in and what must come out.
template<typename In, typename Out>
struct Row {
    In in;
    Out out;
};

// A row names itself by its input: a number in the shortest text that reads
// back as the same number, so 0.49999999999999994 is not called 0.5; anything
// else through the describe() its test gives the input's type.
template<typename In, typename Out>
void PrintTo(const Row<In, Out> &row, std::ostream *os)
{
    if constexpr (std::is_arithmetic_v<In>) {
        std::array<char, 32> text{};
        const auto end = std::to_chars(text.data(), text.data() + text.size(), row.in).ptr;
        *os << std::string_view(text.data(), end);
    } else {
        *os << describe(row.in);
    }
}

template<typename In, typename Out>
using TableTest = testing::TestWithParam<Row<In, Out>>;

} // namespace lumasio::tests
