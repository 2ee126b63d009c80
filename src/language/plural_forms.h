#pragma once
// The Plural-Forms header of a PO file, "nplurals=2; plural=(n != 1);": how many forms a counted
// text has in a language, and which of them a count takes, by a C expression of n.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

inline constexpr unsigned long kEnglishPluralForms = 2;
// No language has more than six forms.
inline constexpr unsigned long kMaxPluralForms = 10;
// Deeper nesting (of parentheses, operators or choices) is no language's rule but a hostile
// header's, which would otherwise take the stack.
inline constexpr std::size_t kMaxPluralNesting = 100;

class CPluralForms {
public:
    // English's rule: two forms, the first for n == 1.
    CPluralForms() noexcept = default;

    // The rule of a header's value; none when it isn't "nplurals=N; plural=EXPRESSION;" (in
    // either order, the last ';' optional) with N from 1 to kMaxPluralForms and an expression of
    // n, decimal constants, parentheses, ! * / % + - < <= > >= == != && || and ?: as C reads them.
    static std::optional<CPluralForms> Parse(std::string_view header);

    unsigned long Count() const { return m_nCount; }

    // The form a count takes, computed in unsigned long as C would, with 0 for a division or
    // remainder by 0. Where the expression gives Count() or more: English's form, n != 1.
    unsigned long FormOf(unsigned long n) const;

private:
    enum class Operation : std::uint8_t {
        Number,
        Count,
        Not,
        Multiply,
        Divide,
        Remainder,
        Add,
        Subtract,
        Less,
        LessOrEqual,
        Greater,
        GreaterOrEqual,
        Equal,
        NotEqual,
        And,
        Or,
        Choice,
    };
    struct Node {
        Operation operation = Operation::Number;
        unsigned long value = 0; // of a number
        std::array<std::uint32_t, 3> operands = {};
        std::size_t height = 1; // the nodes on the longest path down from this one
    };
    class CParser;

    unsigned long Evaluate(std::uint32_t node, unsigned long n) const;

    std::vector<Node> m_nodes; // the expression, its root last; empty for English
    unsigned long m_nCount = kEnglishPluralForms;
};

// The rule of a header's value, or English's when it doesn't parse.
CPluralForms PluralFormsOf(std::string_view header);
