#include "blend/EngineModel.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace {

// Numbers beyond this size are refused: they only arise from garbled text and
// would wreck the solver's numerics.
constexpr double kLargestNumber = 1e30;
constexpr int kLargestPointer = 1000000;

enum class Tok { End, Number, Name, Symbol };

struct Token {
    Tok type = Tok::End;
    std::size_t start = 0;
    std::size_t length = 0;
    double number = 0.0;
    char symbol = 0;   // first character of a symbol
    char symbol2 = 0;  // second character of a two-character symbol (<=, >=)
    int code = 0;      // a one-character symbol's character, else 0: one compare tests it
};

struct Failure {
    std::size_t offset;
    std::string message;
};

char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string UpperKey(std::string_view name)
{
    std::string key(name);
    for (char& c : key)
        c = Upper(c);
    return key;
}

bool SameWord(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i]))
            return false;
    return true;
}

enum CharClass : unsigned char { kOther, kBlank, kDigit, kLetter, kSymbol };

constexpr std::array<CharClass, 256> MakeClasses()
{
    std::array<CharClass, 256> table{};
    for (const char c : std::string_view(" \t\r\n\f\v"))
        table[static_cast<unsigned char>(c)] = kBlank;
    for (int c = '0'; c <= '9'; ++c)
        table[c] = kDigit;
    for (int c = 'a'; c <= 'z'; ++c)
        table[c] = kLetter;
    for (int c = 'A'; c <= 'Z'; ++c)
        table[c] = kLetter;
    table['_'] = kLetter;
    for (const char c : std::string_view("[]()*/+-<>=;:,"))
        table[static_cast<unsigned char>(c)] = kSymbol;
    return table;
}

constexpr std::array<CharClass, 256> kClasses = MakeClasses();

inline CharClass Class(char c)
{
    return kClasses[static_cast<unsigned char>(c)];
}

class Parser {
public:
    Parser(std::string_view text, EngineModel& model) : text_(text), model_(model) {}

    std::size_t Run()
    {
        // Room for a blending model of ten coals and thirty bounds.
        model_.rows.reserve(64);
        model_.terms.reserve(512);
        model_.variables.reserve(16);
        model_.pointers.reserve(16);
        model_.objective.reserve(16);
        pointerAt_.reserve(16);
        numberAt_.reserve(16);
        Advance();
        ExpectWord("model");
        ExpectSymbol(':');
        for (;;) {
            if (token_.type == Tok::End)
                Fail(token_.start, "模型没有以 end 结束");
            if (IsWord("end")) {
                const std::size_t after = token_.start + token_.length;
                ResolvePointers();
                return after;
            }
            if (IsWord("data") && PeekSymbol(':')) {
                ParseData();
                continue;
            }
            if (token_.type == Tok::Name && text_[token_.start] == '@') {
                if (!FastGin())
                    ParseFunction();
                continue;
            }
            if ((token_.type == Tok::Name || token_.type == Tok::Number) && !(IsWord("min") || IsWord("max"))
                && FastStatement())
                continue;
            ParseStatement();
        }
    }

private:
    // ---- tokens -------------------------------------------------------------
    void Advance()
    {
        const char* text = text_.data();
        const std::size_t size = text_.size();
        std::size_t p = pos_;
        while (p < size && Class(text[p]) == kBlank)
            ++p;
        token_.start = p;
        token_.symbol2 = 0;
        token_.code = 0;
        if (p >= size) {
            token_.type = Tok::End;
            token_.length = 0;
            pos_ = p;
            return;
        }
        const char c = text[p];
        const CharClass kind = Class(c);
        if (kind == kDigit || (c == '.' && p + 1 < size && Class(text[p + 1]) == kDigit)) {
            // Plain decimals of at most 15 digits ("500.00", "24.9", "60"), the
            // numbers a model is made of, are read in the same pass: the digits
            // as a whole number divided by a power of ten. Both are exact
            // doubles, so the one division rounds correctly, as a full
            // conversion would. Longer digit strings and exponents take the
            // full conversion.
            static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7,
                                                 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
            std::int64_t mantissa = 0;
            int count = 0;     // digits read, leading zeros included
            int point = -1;    // count when the point was met
            std::size_t e = p;
            for (; e < size; ++e) {
                const unsigned digit = static_cast<unsigned char>(text[e]) - '0';
                if (digit <= 9) {
                    if (count < 18)
                        mantissa = mantissa * 10 + digit;
                    ++count;
                } else if (text[e] == '.' && point < 0) {
                    point = count;
                } else {
                    break;
                }
            }
            const int fraction = point < 0 ? 0 : count - point;
            bool plain = count <= 15;
            if (e < size && (text[e] == 'e' || text[e] == 'E')) {
                std::size_t x = e + 1;
                if (x < size && (text[x] == '+' || text[x] == '-'))
                    ++x;
                if (x < size && Class(text[x]) == kDigit) {
                    while (x < size && Class(text[x]) == kDigit)
                        ++x;
                    e = x;
                    plain = false;
                }
            }
            double value = 0.0;
            if (plain) {
                value = fraction > 0 ? static_cast<double>(mantissa) / kPowers[fraction]
                                     : static_cast<double>(mantissa);
            } else {
                const auto result = std::from_chars(text + p, text + e, value);
                if (result.ec != std::errc() || result.ptr != text + e || !std::isfinite(value)
                    || std::fabs(value) > kLargestNumber)
                    Fail(p, "数值超出范围");
            }
            token_.type = Tok::Number;
            token_.number = value;
            token_.length = e - p;
            pos_ = e;
            return;
        }
        if (kind == kLetter || c == '@') {
            std::size_t e = p + 1;
            while (e < size && (Class(text[e]) == kLetter || Class(text[e]) == kDigit))
                ++e;
            if (c == '@' && e == p + 1)
                Fail(p, "@ 后缺少函数名");
            token_.type = Tok::Name;
            token_.length = e - p;
            pos_ = e;
            return;
        }
        if (kind != kSymbol)
            Fail(p, "无法识别的字符");
        token_.type = Tok::Symbol;
        token_.symbol = c;
        token_.length = 1;
        if ((c == '<' || c == '>' || c == '=') && p + 1 < size) {
            const char d = text[p + 1];
            if ((c != '=' && d == '=') || (c == '=' && (d == '<' || d == '>'))) {
                token_.symbol2 = d;
                token_.length = 2;
            }
        }
        if (token_.length == 1)
            token_.code = static_cast<unsigned char>(c);
        pos_ = p + token_.length;
    }

    std::string_view TokenText() const { return text_.substr(token_.start, token_.length); }

    bool IsSymbol(char c) const { return token_.code == c; }

    bool IsWord(std::string_view word) const
    {
        return token_.type == Tok::Name && SameWord(TokenText(), word);
    }

    // The next non-blank character after the current token is c.
    bool PeekSymbol(char c) const
    {
        std::size_t p = pos_;
        while (p < text_.size() && IsBlank(text_[p]))
            ++p;
        return p < text_.size() && text_[p] == c;
    }

    [[noreturn]] void Fail(std::size_t offset, std::string message) { throw Failure{offset, std::move(message)}; }

    [[noreturn]] void Unexpected(const char* wanted)
    {
        if (token_.type == Tok::End)
            Fail(token_.start, std::string("意外的文件结尾，应为 ") + wanted);
        Fail(token_.start, std::string("应为 ") + wanted);
    }

    void ExpectSymbol(char c)
    {
        if (!IsSymbol(c)) {
            const char wanted[4] = {'"', c, '"', 0};
            Unexpected(wanted);
        }
        Advance();
    }

    void ExpectWord(std::string_view word)
    {
        if (!IsWord(word))
            Unexpected(std::string("\"").append(word).append("\"").c_str());
        Advance();
    }

    std::string_view ExpectName()
    {
        if (token_.type != Tok::Name || text_[token_.start] == '@')
            Unexpected("名称");
        const std::string_view name = TokenText();
        Advance();
        return name;
    }

    double ExpectSignedNumber()
    {
        double sign = 1.0;
        while (IsSymbol('+') || IsSymbol('-')) {
            if (IsSymbol('-'))
                sign = -sign;
            Advance();
        }
        if (token_.type != Tok::Number)
            Unexpected("数值");
        const double value = token_.number * sign;
        Advance();
        return value;
    }

    // ---- names ----------------------------------------------------------------
    bool IsReserved(std::string_view name) const
    {
        return SameWord(name, "end") || SameWord(name, "enddata") || SameWord(name, "model");
    }

    [[gnu::always_inline]] inline int Variable(std::string_view name, std::size_t offset)
    {
        // Models name a handful of variables, mostly in turn (X1, X2, ...):
        // try the one after the last first.
        const std::size_t count = model_.variables.size();
        if (count > 0) {
            std::size_t next = static_cast<std::size_t>(lastVariable_ + 1);
            if (next >= count)
                next = 0;
            const std::string& guess = model_.variables[next].name;
            if (guess.size() == name.size()) {
                std::size_t i = 0;
                while (i < name.size() && guess[i] == name[i])
                    ++i;
                if (i == name.size())
                    return lastVariable_ = static_cast<int>(next);
            }
        }
        return OtherVariable(name, offset);
    }

    // The scan (or the hash table for many names), or a new variable.
    [[gnu::noinline]] int OtherVariable(std::string_view name, std::size_t offset)
    {
        const std::size_t count = model_.variables.size();
        const int found = FindVariable(name);
        if (found >= 0)
            return lastVariable_ = found;
        if (IsReserved(name))
            Fail(offset, "保留字不能作变量名");
        const int index = static_cast<int>(count);
        lastVariable_ = index;
        model_.variables.push_back(EngineVariable{std::string(name)});
        if (count + 1 > kScanLimit) {
            if (variables_.empty())
                for (std::size_t i = 0; i < model_.variables.size(); ++i)
                    variables_.emplace(UpperKey(model_.variables[i].name), static_cast<int>(i));
            else
                variables_.emplace(UpperKey(name), index);
        }
        return index;
    }

    // A handful of variables are found by a scan; many through a hash table.
    static constexpr std::size_t kScanLimit = 32;

    int FindVariable(std::string_view name) const
    {
        const std::size_t count = model_.variables.size();
        if (count <= kScanLimit) {
            for (std::size_t i = 0; i < count; ++i)
                if (SameWord(model_.variables[i].name, name))
                    return static_cast<int>(i);
            return -1;
        }
        const auto found = variables_.find(UpperKey(name));
        return found == variables_.end() ? -1 : found->second;
    }

    // ---- expressions ----------------------------------------------------------
    // A sum of terms; a term is a product of numbers (and quotients by
    // numbers) with at most one variable. Signs may stand before any term,
    // also right after a "+" ("+-3.00*X2").
    void ParseExpression(std::vector<EngineTerm>& terms, double& constant, double side)
    {
        if (FastExpression(terms, constant, side))
            return;
        bool first = true;
        for (;;) {
            double sign = side;
            if (!first) {
                if (!IsSymbol('+') && !IsSymbol('-'))
                    return;
            }
            while (IsSymbol('+') || IsSymbol('-')) {
                if (IsSymbol('-'))
                    sign = -sign;
                Advance();
            }
            ParseTerm(terms, constant, sign);
            first = false;
        }
    }

    // The term lists of a blending model ("500.00*2*X1+450.00*3*X2") make up
    // most of its text. This reads them straight from the characters; at
    // anything out of the ordinary (blanks, quotients, exponents, long digit
    // strings, an unexpected character after the expression) it gives up, undoing what it added, and the general rules
    // above read the expression instead.
    // Reads a sum of terms from q; returns the position after it, or npos
    // (with nothing added) when the text needs the general rules.
    std::size_t ScanLinear(std::size_t q, std::vector<EngineTerm>& terms, double& constant, double side)
    {
        static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        const char* text = text_.data();
        const std::size_t size = text_.size();
        const std::size_t savedTerms = terms.size();
        const double savedConstant = constant;
        auto giveUp = [&] {
            terms.resize(savedTerms);
            constant = savedConstant;
            return std::string_view::npos;
        };
        for (;;) {
            double factor = side;
            while (q < size && (text[q] == '+' || text[q] == '-')) {
                if (text[q] == '-')
                    factor = -factor;
                ++q;
            }
            int variable = -1;
            for (;;) {
                if (q >= size)
                    return giveUp();
                const char c = text[q];
                if (Class(c) == kDigit) {
                    std::uint64_t mantissa = 0;
                    const std::size_t first = q;
                    while (q < size && static_cast<unsigned>(text[q] - '0') <= 9)
                        mantissa = mantissa * 10 + static_cast<unsigned>(text[q++] - '0');
                    std::size_t digits = q - first;
                    std::size_t fraction = 0;
                    if (q < size && text[q] == '.') {
                        const std::size_t point = ++q;
                        while (q < size && static_cast<unsigned>(text[q] - '0') <= 9)
                            mantissa = mantissa * 10 + static_cast<unsigned>(text[q++] - '0');
                        fraction = q - point;
                        digits += fraction;
                    }
                    // More than 15 digits may have wrapped the mantissa: the
                    // general reader converts those.
                    if (digits > 15 || (q < size && (text[q] == 'e' || text[q] == 'E' || text[q] == '.')))
                        return giveUp();
                    factor *= fraction > 0 ? static_cast<double>(mantissa) / kPowers[fraction]
                                           : static_cast<double>(mantissa);
                } else if (Class(c) == kLetter) {
                    if (variable >= 0)
                        return giveUp();
                    std::size_t e = q + 1;
                    while (e < size && (Class(text[e]) == kLetter || Class(text[e]) == kDigit))
                        ++e;
                    variable = Variable(text_.substr(q, e - q), q);
                    q = e;
                } else {
                    return giveUp();
                }
                if (q < size && text[q] == '*') {
                    ++q;
                    continue;
                }
                break;
            }
            if (!std::isfinite(factor) || std::fabs(factor) > kLargestNumber)
                return giveUp();
            if (variable >= 0)
                terms.push_back(EngineTerm{variable, factor});
            else
                constant += factor;
            if (q < size && (text[q] == '+' || text[q] == '-'))
                continue;
            break;
        }
        // Only a relation or the end of the statement may follow directly.
        if (q >= size || (text[q] != '<' && text[q] != '>' && text[q] != '=' && text[q] != ';'))
            return giveUp();
        return q;
    }

    bool FastExpression(std::vector<EngineTerm>& terms, double& constant, double side)
    {
        const std::size_t q = ScanLinear(token_.start, terms, constant, side);
        if (q == std::string_view::npos)
            return false;
        pos_ = q;
        Advance();
        return true;
    }

    // A whole unnamed constraint "terms relation terms;" read straight from the
    // characters; false (nothing added) when it needs the general rules.
    bool FastStatement()
    {
        const char* text = text_.data();
        const std::size_t size = text_.size();
        EngineRow row;
        std::vector<EngineTerm>& terms = model_.terms;
        row.first = terms.size();
        auto giveUp = [&] {
            terms.resize(row.first);
            return false;
        };
        double constant = 0.0;
        std::size_t q = ScanLinear(token_.start, terms, constant, 1.0);
        if (q == std::string_view::npos || q + 1 >= size)
            return giveUp();
        const char a = text[q];
        const char b = text[q + 1];
        if (a == '<' || (a == '=' && b == '<')) {
            row.sense = RowSense::LessEqual;
        } else if (a == '>' || (a == '=' && b == '>')) {
            row.sense = RowSense::GreaterEqual;
        } else if (a == '=') {
            row.sense = RowSense::Equal;
        } else {
            return giveUp();
        }
        q += ((a != '=' && b == '=') || (a == '=' && (b == '<' || b == '>'))) ? 2 : 1;
        q = ScanLinear(q, terms, constant, -1.0);
        if (q == std::string_view::npos || text[q] != ';')
            return giveUp();
        row.rhs = -constant;
        if (!std::isfinite(row.rhs))
            return giveUp();
        row.count = terms.size() - row.first;
        model_.rows.push_back(std::move(row));
        pos_ = q + 1;
        Advance();
        return true;
    }

    // "@gin(NAME);" and "@pointer(N)=NAME;" as the model text writes them.
    std::size_t ScanName(std::size_t q) const
    {
        if (q >= text_.size() || Class(text_[q]) != kLetter)
            return std::string_view::npos;
        ++q;
        while (q < text_.size() && (Class(text_[q]) == kLetter || Class(text_[q]) == kDigit))
            ++q;
        return q;
    }

    bool HasAt(std::size_t q, std::string_view word) const
    {
        return q + word.size() <= text_.size() && SameWord(text_.substr(q, word.size()), word);
    }

    bool FastGin()
    {
        const std::size_t at = token_.start;
        if (!HasAt(at, "@gin("))
            return false;
        const std::size_t end = ScanName(at + 5);
        if (end == std::string_view::npos || !HasAt(end, ");"))
            return false;
        model_.variables[Variable(text_.substr(at + 5, end - at - 5), at + 5)].integer = true;
        pos_ = end + 2;
        Advance();
        return true;
    }

    bool FastPointer()
    {
        const std::size_t at = token_.start;
        if (!HasAt(at, "@pointer("))
            return false;
        std::size_t q = at + 9;
        int number = 0;
        while (q < text_.size() && Class(text_[q]) == kDigit && number < kLargestPointer)
            number = number * 10 + (text_[q++] - '0');
        if (q == at + 9 || number < 1 || number > kLargestPointer || !HasAt(q, ")="))
            return false;
        const std::size_t nameAt = q + 2;
        const std::size_t end = ScanName(nameAt);
        if (end == std::string_view::npos || !HasAt(end, ";"))
            return false;
        model_.pointers.push_back(EnginePointerSlot{number, std::string(text_.substr(nameAt, end - nameAt))});
        pointerAt_.push_back(nameAt);
        numberAt_.push_back(at + 9);
        pos_ = end + 1;
        Advance();
        return true;
    }

    void ParseTerm(std::vector<EngineTerm>& terms, double& constant, double factor)
    {
        int variable = -1;
        bool divide = false;
        for (;;) {
            double sign = 1.0;
            while (IsSymbol('+') || IsSymbol('-')) {
                if (IsSymbol('-'))
                    sign = -sign;
                Advance();
            }
            if (token_.type == Tok::Number) {
                const double value = token_.number * sign;
                if (divide) {
                    if (value == 0.0)
                        Fail(token_.start, "除数为零");
                    factor /= value;
                } else {
                    factor *= value;
                }
                Advance();
            } else if (token_.type == Tok::Name && text_[token_.start] != '@') {
                if (variable >= 0)
                    Fail(token_.start, "一项中只能有一个变量");
                if (divide)
                    Fail(token_.start, "不能除以变量");
                variable = Variable(TokenText(), token_.start);
                factor *= sign;
                Advance();
            } else {
                Unexpected("数值或变量");
            }
            if (!std::isfinite(factor) || std::fabs(factor) > kLargestNumber)
                Fail(token_.start, "数值超出范围");
            if (IsSymbol('*'))
                divide = false;
            else if (IsSymbol('/'))
                divide = true;
            else
                break;
            Advance();
        }
        if (variable >= 0)
            terms.push_back(EngineTerm{variable, factor});
        else
            constant += factor;
    }

    // ---- statements ------------------------------------------------------------
    void ParseStatement()
    {
        std::string rowName;
        std::size_t nameOffset = token_.start;
        if (IsSymbol('[')) {
            Advance();
            nameOffset = token_.start;
            rowName = std::string(ExpectName());
            ExpectSymbol(']');
        }
        if ((IsWord("min") || IsWord("max")) && PeekSymbol('=')) {
            if (model_.hasObjective)
                Fail(token_.start, "模型只能有一个目标函数");
            model_.hasObjective = true;
            model_.maximise = IsWord("max");
            model_.objectiveName = rowName;
            Advance();
            ExpectSymbol('=');
            ParseExpression(model_.objective, model_.objectiveConstant, 1.0);
            ExpectSymbol(';');
            if (!rowName.empty())
                AddRowName(rowName, nameOffset, -1);
            return;
        }
        EngineRow row;
        row.name = rowName;
        row.first = model_.terms.size();
        double constant = 0.0;
        ParseExpression(model_.terms, constant, 1.0);
        if (token_.type != Tok::Symbol || (token_.symbol != '<' && token_.symbol != '>' && token_.symbol != '='))
            Unexpected("\"<\"、\">\" 或 \"=\"");
        const char a = token_.symbol;
        const char b = token_.symbol2;
        if (a == '<' || b == '<')
            row.sense = RowSense::LessEqual;
        else if (a == '>' || b == '>')
            row.sense = RowSense::GreaterEqual;
        else
            row.sense = RowSense::Equal;
        Advance();
        // Everything moves to the left, the constants to the right.
        ParseExpression(model_.terms, constant, -1.0);
        ExpectSymbol(';');
        row.count = model_.terms.size() - row.first;
        row.rhs = -constant;
        if (!std::isfinite(row.rhs))
            Fail(nameOffset, "数值超出范围");
        if (!rowName.empty())
            AddRowName(rowName, nameOffset, static_cast<int>(model_.rows.size()));
        model_.rows.push_back(std::move(row));
    }

    void AddRowName(const std::string& name, std::size_t offset, int index)
    {
        if (!rows_.emplace(UpperKey(name), index).second)
            Fail(offset, "行名重复");
    }

    void ParseFunction()
    {
        const std::size_t at = token_.start;
        const std::string_view name = TokenText();
        Advance();
        ExpectSymbol('(');
        if (SameWord(name, "@gin") || SameWord(name, "@bin") || SameWord(name, "@free")) {
            const std::size_t nameAt = token_.start;
            EngineVariable& v = model_.variables[Variable(ExpectName(), nameAt)];
            if (SameWord(name, "@gin")) {
                v.integer = true;
            } else if (SameWord(name, "@bin")) {
                v.integer = true;
                v.lower = std::max(v.lower, 0.0);
                v.upper = std::min(v.upper, 1.0);
            } else {
                v.lower = -kEngineInfinity;
                v.upper = kEngineInfinity;
            }
        } else if (SameWord(name, "@bnd")) {
            const double lower = ExpectSignedNumber();
            ExpectSymbol(',');
            const std::size_t nameAt = token_.start;
            const int index = Variable(ExpectName(), nameAt);
            ExpectSymbol(',');
            const double upper = ExpectSignedNumber();
            model_.variables[index].lower = lower;
            model_.variables[index].upper = upper;
        } else {
            Fail(at, "未知的函数");
        }
        ExpectSymbol(')');
        ExpectSymbol(';');
    }

    void ParseData()
    {
        Advance();  // data
        ExpectSymbol(':');
        for (;;) {
            if (IsWord("enddata")) {
                Advance();
                return;
            }
            if (FastPointer())
                continue;
            if (!IsWord("@pointer"))
                Unexpected("\"@pointer\" 或 \"enddata\"");
            Advance();
            ExpectSymbol('(');
            const std::size_t numberAt = token_.start;
            if (token_.type != Tok::Number)
                Unexpected("指针编号");
            const double number = token_.number;
            if (number != std::floor(number) || number < 1 || number > kLargestPointer)
                Fail(numberAt, "指针编号必须是正整数");
            Advance();
            ExpectSymbol(')');
            ExpectSymbol('=');
            const std::size_t nameAt = token_.start;
            const std::string_view name = ExpectName();
            ExpectSymbol(';');
            const int n = static_cast<int>(number);
            model_.pointers.push_back(EnginePointerSlot{n, std::string(name)});
            pointerAt_.push_back(nameAt);
            numberAt_.push_back(numberAt);
        }
    }

    // Pointers may name a variable or a row written anywhere in the model, so
    // they are matched once the whole model has been read.
    void ResolvePointers()
    {
        // A pointer number given twice: the later one is the mistake.
        std::vector<std::pair<int, std::size_t>> numbers;
        numbers.reserve(model_.pointers.size());
        for (std::size_t i = 0; i < model_.pointers.size(); ++i)
            numbers.emplace_back(model_.pointers[i].number, numberAt_[i]);
        std::sort(numbers.begin(), numbers.end());
        std::size_t twice = std::string_view::npos;
        for (std::size_t i = 1; i < numbers.size(); ++i)
            if (numbers[i].first == numbers[i - 1].first)
                twice = std::min(twice, numbers[i].second);
        if (twice != std::string_view::npos)
            Fail(twice, "指针编号重复");

        for (std::size_t i = 0; i < model_.pointers.size(); ++i) {
            EnginePointerSlot& slot = model_.pointers[i];
            const auto row = rows_.empty() ? rows_.end() : rows_.find(UpperKey(slot.name));
            int variable = -1;
            if (row != rows_.end()) {
                slot.kind = row->second < 0 ? EnginePointerSlot::Objective : EnginePointerSlot::Row;
                slot.index = row->second;
            } else if ((variable = FindVariable(slot.name)) >= 0) {
                slot.kind = EnginePointerSlot::Variable;
                slot.index = variable;
            } else {
                Fail(pointerAt_[i], "指针指向未知的名称 " + slot.name);
            }
        }
    }

    std::string_view text_;
    EngineModel& model_;
    std::size_t pos_ = 0;
    Token token_;
    std::unordered_map<std::string, int> variables_;
    std::unordered_map<std::string, int> rows_;  // -1 = the objective
    std::vector<std::size_t> pointerAt_;
    std::vector<std::size_t> numberAt_;
    int lastVariable_ = -1;
};

}  // namespace

bool StartsWithModel(std::string_view text)
{
    std::size_t p = 0;
    while (p < text.size() && IsBlank(text[p]))
        ++p;
    std::size_t e = p;
    while (e < text.size() && IsLetter(text[e]))
        ++e;
    if (!SameWord(text.substr(p, e - p), "model"))
        return false;
    while (e < text.size() && IsBlank(text[e]))
        ++e;
    return e < text.size() && text[e] == ':';
}

bool ParseEngineModel(std::string_view text, EngineModel& model, EngineParseError& error,
                      std::size_t* consumed)
{
    model = EngineModel{};
    try {
        Parser parser(text, model);
        const std::size_t after = parser.Run();
        if (consumed)
            *consumed = after;
        return true;
    } catch (const Failure& failure) {
        const std::size_t offset = std::min(failure.offset, text.size());
        int line = 1;
        std::size_t lineStart = 0;
        for (std::size_t i = 0; i < offset; ++i) {
            if (text[i] == '\n') {
                ++line;
                lineStart = i + 1;
            }
        }
        error.line = line;
        error.column = static_cast<int>(offset - lineStart) + 1;
        error.message = failure.message;
        model = EngineModel{};
        return false;
    }
}
