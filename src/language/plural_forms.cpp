#include "language/plural_forms.h"

#include "platform/text_chars.h"

#include <algorithm>
#include <limits>
#include <span>

namespace {

constexpr std::string_view kCountKey = "nplurals";
constexpr std::string_view kExpressionKey = "plural";
constexpr char kPartEnd = ';';
constexpr char kAssign = '=';
constexpr unsigned long kDecimalBase = 10;

bool IsHeaderBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view SkipBlanks(std::string_view text)
{
    while (!text.empty() && IsHeaderBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

std::string_view Trim(std::string_view text)
{
    text = SkipBlanks(text);
    while (!text.empty() && IsHeaderBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The decimal number at the start of the text, taken from it; none without a digit or past unsigned long.
std::optional<unsigned long> TakeDecimal(std::string_view& text)
{
    if (text.empty() || !IsDigit(text.front()))
        return std::nullopt;
    unsigned long value = 0;
    while (!text.empty() && IsDigit(text.front())) {
        const auto digit = static_cast<unsigned long>(text.front() - '0');
        if (value > (std::numeric_limits<unsigned long>::max() - digit) / kDecimalBase)
            return std::nullopt;
        value = value * kDecimalBase + digit;
        text.remove_prefix(1);
    }
    return value;
}

} // namespace

// Recursive descent by C's precedence, lowest first: ?: (right to left), ||, &&, == !=, < <= > >=,
// + -, * / %, unary !.
class CPluralForms::CParser {
public:
    CParser(std::string_view text, std::vector<Node>& nodes) : m_text(text), m_nodes(nodes) {}

    // The root of the expression that is the whole text; none when the text is something else.
    std::optional<std::uint32_t> ParseWhole()
    {
        const Result root = Choice();
        return root && SkipBlanks(m_text).empty() ? root : std::nullopt;
    }

private:
    using Result = std::optional<std::uint32_t>;
    using Level = Result (CParser::*)();
    struct BinaryOperator {
        std::string_view token;
        Operation operation;
    };

    // Whether the text goes on with the token, which is then taken.
    bool Take(std::string_view token)
    {
        m_text = SkipBlanks(m_text);
        if (!m_text.starts_with(token))
            return false;
        m_text.remove_prefix(token.size());
        return true;
    }

    Result Make(Operation operation, std::span<const std::uint32_t> operands, unsigned long value = 0)
    {
        Node node;
        node.operation = operation;
        node.value = value;
        for (std::size_t i = 0; i < operands.size(); ++i) {
            node.operands.at(i) = operands[i];
            node.height = std::max(node.height, m_nodes[operands[i]].height + 1);
        }
        if (node.height > kMaxPluralNesting || m_nodes.size() >= std::numeric_limits<std::uint32_t>::max())
            return std::nullopt;
        m_nodes.push_back(node);
        return static_cast<std::uint32_t>(m_nodes.size() - 1);
    }

    // Counts a level of nesting on the way down; a failed parse never comes back up to undo it.
    bool Deeper() { return ++m_nDepth <= kMaxPluralNesting; }

    Result Choice()
    {
        if (!Deeper())
            return std::nullopt;
        const Result condition = Or();
        if (!condition || !Take("?")) {
            --m_nDepth;
            return condition;
        }
        const Result chosen = Choice();
        if (!chosen || !Take(":"))
            return std::nullopt;
        const Result otherwise = Choice();
        if (!otherwise)
            return std::nullopt;
        --m_nDepth;
        const std::uint32_t operands[] = {*condition, *chosen, *otherwise};
        return Make(Operation::Choice, operands);
    }

    Result Binary(Level operand, std::span<const BinaryOperator> operators)
    {
        Result left = (this->*operand)();
        while (left) {
            const auto found = std::find_if(operators.begin(), operators.end(),
                                            [this](const BinaryOperator& op) { return Take(op.token); });
            if (found == operators.end())
                return left;
            const Result right = (this->*operand)();
            if (!right)
                return std::nullopt;
            const std::uint32_t operands[] = {*left, *right};
            left = Make(found->operation, operands);
        }
        return left;
    }

    Result Or()
    {
        static constexpr BinaryOperator kOperators[] = {{"||", Operation::Or}};
        return Binary(&CParser::And, kOperators);
    }

    Result And()
    {
        static constexpr BinaryOperator kOperators[] = {{"&&", Operation::And}};
        return Binary(&CParser::Equality, kOperators);
    }

    Result Equality()
    {
        static constexpr BinaryOperator kOperators[] = {{"==", Operation::Equal}, {"!=", Operation::NotEqual}};
        return Binary(&CParser::Relation, kOperators);
    }

    Result Relation()
    {
        // The two-character tokens first, so that "<=" isn't read as "<".
        static constexpr BinaryOperator kOperators[] = {{"<=", Operation::LessOrEqual},
                                                        {">=", Operation::GreaterOrEqual},
                                                        {"<", Operation::Less},
                                                        {">", Operation::Greater}};
        return Binary(&CParser::Sum, kOperators);
    }

    Result Sum()
    {
        static constexpr BinaryOperator kOperators[] = {{"+", Operation::Add}, {"-", Operation::Subtract}};
        return Binary(&CParser::Product, kOperators);
    }

    Result Product()
    {
        static constexpr BinaryOperator kOperators[] = {
            {"*", Operation::Multiply}, {"/", Operation::Divide}, {"%", Operation::Remainder}};
        return Binary(&CParser::Unary, kOperators);
    }

    Result Unary()
    {
        if (!Take("!"))
            return Primary();
        if (!Deeper())
            return std::nullopt;
        const Result operand = Unary();
        if (!operand)
            return std::nullopt;
        --m_nDepth;
        const std::uint32_t operands[] = {*operand};
        return Make(Operation::Not, operands);
    }

    Result Primary()
    {
        if (Take("n"))
            return Make(Operation::Count, {});
        if (Take("(")) {
            const Result inner = Choice();
            return inner && Take(")") ? inner : std::nullopt;
        }
        m_text = SkipBlanks(m_text);
        const std::optional<unsigned long> number = TakeDecimal(m_text);
        if (!number)
            return std::nullopt;
        return Make(Operation::Number, {}, *number);
    }

    std::string_view m_text;
    std::vector<Node>& m_nodes;
    std::size_t m_nDepth = 0;
};

std::optional<CPluralForms> CPluralForms::Parse(std::string_view header)
{
    std::optional<unsigned long> count;
    std::optional<std::string_view> expression;
    while (!header.empty()) {
        const std::size_t end = std::min(header.find(kPartEnd), header.size());
        const std::string_view part = Trim(header.substr(0, end));
        header.remove_prefix(std::min(end + 1, header.size()));
        if (part.empty())
            continue;
        const std::size_t assign = part.find(kAssign);
        if (assign == std::string_view::npos)
            return std::nullopt;
        const std::string_view key = Trim(part.substr(0, assign));
        std::string_view value = Trim(part.substr(assign + 1));
        if (key == kCountKey && !count) {
            count = TakeDecimal(value);
            if (!count || !value.empty() || *count == 0 || *count > kMaxPluralForms)
                return std::nullopt;
        } else if (key == kExpressionKey && !expression) {
            expression = value;
        } else {
            return std::nullopt;
        }
    }
    if (!count || !expression)
        return std::nullopt;
    CPluralForms forms;
    forms.m_nCount = *count;
    const std::optional<std::uint32_t> root = CParser(*expression, forms.m_nodes).ParseWhole();
    // Every node comes after its operands, so the whole expression's is the last.
    if (!root || *root + 1 != forms.m_nodes.size())
        return std::nullopt;
    return forms;
}

unsigned long CPluralForms::FormOf(unsigned long n) const
{
    const unsigned long english = n != 1 ? 1 : 0;
    if (m_nodes.empty())
        return english;
    const unsigned long form = Evaluate(static_cast<std::uint32_t>(m_nodes.size() - 1), n);
    return form < m_nCount ? form : english;
}

// Recursion as deep as the tree, which the parser keeps within kMaxPluralNesting.
unsigned long CPluralForms::Evaluate(std::uint32_t node, unsigned long n) const
{
    const Node& at = m_nodes[node];
    const auto operand = [&](std::size_t i) {
        return Evaluate(at.operands.at(i), n);
    };
    switch (at.operation) {
    case Operation::Number:
        return at.value;
    case Operation::Count:
        return n;
    case Operation::Not:
        return operand(0) == 0 ? 1 : 0;
    case Operation::Multiply:
        return operand(0) * operand(1);
    case Operation::Divide: {
        const unsigned long divisor = operand(1);
        return divisor == 0 ? 0 : operand(0) / divisor;
    }
    case Operation::Remainder: {
        const unsigned long divisor = operand(1);
        return divisor == 0 ? 0 : operand(0) % divisor;
    }
    case Operation::Add:
        return operand(0) + operand(1);
    case Operation::Subtract:
        return operand(0) - operand(1);
    case Operation::Less:
        return operand(0) < operand(1) ? 1 : 0;
    case Operation::LessOrEqual:
        return operand(0) <= operand(1) ? 1 : 0;
    case Operation::Greater:
        return operand(0) > operand(1) ? 1 : 0;
    case Operation::GreaterOrEqual:
        return operand(0) >= operand(1) ? 1 : 0;
    case Operation::Equal:
        return operand(0) == operand(1) ? 1 : 0;
    case Operation::NotEqual:
        return operand(0) != operand(1) ? 1 : 0;
    case Operation::And:
        return operand(0) != 0 && operand(1) != 0 ? 1 : 0;
    case Operation::Or:
        return operand(0) != 0 || operand(1) != 0 ? 1 : 0;
    case Operation::Choice:
        return operand(0) != 0 ? operand(1) : operand(2);
    }
    return 0;
}

CPluralForms PluralFormsOf(std::string_view header)
{
    return CPluralForms::Parse(header).value_or(CPluralForms());
}
