#include "blend/EngineModel.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <tuple>
#include <unordered_map>

namespace {

// Numbers beyond this size are refused: they only arise from garbled text and
// would wreck the solver's numerics.
constexpr double kLargestNumber = 1e30;
constexpr int kLargestPointer = 1000000;

// Relations as read: one character, or the two of "<=" / "=<" and ">=" / "=>".
constexpr int kAtMost = 256;
constexpr int kAtLeast = 257;

// What Peek() gives at the end of the text.
constexpr int kEnd = -1;

char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
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

std::string UpperKey(std::string_view name)
{
    std::string key(name);
    for (char& c : key)
        c = Upper(c);
    return key;
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

inline bool IsNameChar(char c)
{
    const CharClass k = Class(c);
    return k == kLetter || k == kDigit;
}

// Reads the model language straight from the characters: each rule looks
// at the next character after blanks and reads the number, name or symbol
// it needs there. Every step returns false once something failed; the first
// failure is the one reported.
class Reader {
public:
    Reader(std::string_view text, EngineModel& model) : text_(text), model_(model) {}

    bool Run(std::size_t& after)
    {
        // Room for a blending model of ten coals and thirty bounds.
        model_.rows.reserve(64);
        model_.terms.reserve(512);
        model_.variables.reserve(16);
        model_.pointers.reserve(16);
        model_.objective.reserve(16);
        pointerAt_.reserve(16);
        numberAt_.reserve(16);
        if (!ExpectWord("model") || !ExpectChar(':'))
            return false;
        for (;;) {
            const int c = Peek();
            if (c == kEnd)
                return Fail(pos_, "模型没有以 end 结束");
            if (AtWord("end")) {
                after = pos_ + 3;
                return ResolvePointers();
            }
            const bool ok = AtWord("data") && CharAfterWord(4) == ':' ? ReadData()
                            : c == '@'                                ? ReadFunction()
                                                                      : ReadStatement();
            if (!ok)
                return false;
        }
    }

    std::size_t failedAt() const { return failedAt_; }
    const std::string& message() const { return message_; }

private:
    // ---- failures -------------------------------------------------------------
    [[gnu::cold]] [[gnu::noinline]] bool Fail(std::size_t offset, std::string_view message)
    {
        if (!failed_) {
            failed_ = true;
            failedAt_ = offset;
            message_ = std::string(message);
        }
        return false;
    }

    // Something else than wanted stands at the next place. What stands there
    // may itself be unreadable (an unknown character, "@" without a name, a
    // number out of range): that is the failure then.
    [[gnu::cold]] [[gnu::noinline]] bool Unexpected(std::string_view wanted)
    {
        if (Peek() == kEnd)
            return Fail(pos_, std::string("意外的文件结尾，应为 ").append(wanted));
        if (UnreadableHere())
            return false;
        return Fail(pos_, std::string("应为 ").append(wanted));
    }

    // Fails (true) when what stands at the next place cannot be read at all.
    bool UnreadableHere()
    {
        const int c = Peek();
        const std::size_t at = pos_;
        if (AtNumber(c)) {
            std::size_t p = at;
            double ignored = 0.0;
            ReadNumber(p, ignored);
        } else if (c == '@') {
            std::string_view ignored;
            ReadFunctionName(ignored);
        } else if (c != kEnd && Class(static_cast<char>(c)) == kOther) {
            Fail(at, "无法识别的字符");
        }
        pos_ = at;
        return failed_;
    }

    // ---- characters -------------------------------------------------------------
    std::size_t SkipBlanks(std::size_t p) const
    {
        while (p < text_.size() && Class(text_[p]) == kBlank)
            ++p;
        return p;
    }

    // The next character after blanks (pos_ moves onto it), or kEnd.
    int Peek()
    {
        pos_ = SkipBlanks(pos_);
        return pos_ < text_.size() ? static_cast<unsigned char>(text_[pos_]) : kEnd;
    }

    int CharAt(std::size_t p) const { return p < text_.size() ? static_cast<unsigned char>(text_[p]) : kEnd; }

    bool AtNumber(int c) const
    {
        return Class(static_cast<char>(c)) == kDigit
               || (c == '.' && pos_ + 1 < text_.size() && Class(text_[pos_ + 1]) == kDigit);
    }

    static bool IsLetterChar(int c) { return c != kEnd && Class(static_cast<char>(c)) == kLetter; }

    // The next character after blanks once a word of that length is passed.
    int CharAfterWord(std::size_t length) const { return CharAt(SkipBlanks(pos_ + length)); }

    // The name at pos_ (which is a letter), read.
    std::string_view ReadName()
    {
        const std::size_t start = pos_;
        std::size_t e = start + 1;
        while (e < text_.size() && IsNameChar(text_[e]))
            ++e;
        pos_ = e;
        return text_.substr(start, e - start);
    }

    // After Peek(): a name equal to word (in any letter case) stands here.
    bool AtWord(std::string_view word) const
    {
        const std::size_t end = pos_ + word.size();
        return end <= text_.size() && SameWord(text_.substr(pos_, word.size()), word)
               && (end == text_.size() || !IsNameChar(text_[end]));
    }

    // The symbol at pos_ after Peek(): its character, or kAtMost / kAtLeast
    // for a two-character relation; length receives how many characters.
    int SymbolAt(int c, std::size_t& length) const
    {
        length = 1;
        if (c != '<' && c != '>' && c != '=')
            return c;
        const int d = CharAt(pos_ + 1);
        if ((c != '=' && d == '=') || (c == '=' && (d == '<' || d == '>'))) {
            length = 2;
            return (c == '<' || d == '<') ? kAtMost : kAtLeast;
        }
        return c;
    }

    // "@name" at pos_, read; "@" alone is refused.
    bool ReadFunctionName(std::string_view& name)
    {
        const std::size_t start = pos_;
        std::size_t e = start + 1;
        while (e < text_.size() && IsNameChar(text_[e]))
            ++e;
        if (e == start + 1)
            return Fail(start, "@ 后缺少函数名");
        pos_ = e;
        name = text_.substr(start, e - start);
        return true;
    }

    // A number at `at`, which moves past it: digits with at most one point,
    // and an exponent.
    // Plain decimals of at most 15 digits ("500.00", "24.9", "60"), the
    // numbers a model is made of, are converted here: the digits as a whole
    // number divided by a power of ten. Both are exact doubles, so the one
    // division rounds correctly, as a full conversion would. Longer digit
    // strings and exponents take the full conversion.
    [[gnu::always_inline]] bool ReadNumber(std::size_t& at, double& value)
    {
        static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        const char* text = text_.data();
        const std::size_t size = text_.size();
        const std::size_t p = at;
        // The digits as one whole number; beyond 15 digits it is not used.
        std::uint64_t mantissa = 0;
        std::size_t e = p;
        unsigned digit = 0;
        while (e < size && (digit = static_cast<unsigned char>(text[e]) - '0') <= 9) {
            mantissa = mantissa * 10 + digit;
            ++e;
        }
        std::size_t digits = e - p;
        std::size_t fraction = 0;
        if (e < size && text[e] == '.') {
            const std::size_t point = ++e;
            while (e < size && (digit = static_cast<unsigned char>(text[e]) - '0') <= 9) {
                mantissa = mantissa * 10 + digit;
                ++e;
            }
            fraction = e - point;
            digits += fraction;
        }
        bool plain = digits <= 15;
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
        if (plain) {
            value = fraction > 0 ? static_cast<double>(mantissa) / kPowers[fraction] : static_cast<double>(mantissa);
        } else {
            const auto result = std::from_chars(text + p, text + e, value);
            if (result.ec != std::errc() || result.ptr != text + e || !std::isfinite(value)
                || std::fabs(value) > kLargestNumber)
                return Fail(p, "数值超出范围");
        }
        at = e;
        return true;
    }

    bool ExpectChar(char c)
    {
        std::size_t length = 0;
        const int at = Peek();
        if (at == kEnd || SymbolAt(at, length) != static_cast<unsigned char>(c)) {
            const char wanted[4] = {'"', c, '"', 0};
            return Unexpected(wanted);
        }
        ++pos_;
        return true;
    }

    bool ExpectWord(std::string_view word)
    {
        if (!IsLetterChar(Peek()) || !AtWord(word))
            return Unexpected(std::string("\"").append(word).append("\""));
        pos_ += word.size();
        return true;
    }

    bool ExpectName(std::string_view& name)
    {
        if (!IsLetterChar(Peek()))
            return Unexpected("名称");
        name = ReadName();
        return true;
    }

    bool ExpectSignedNumber(double& value)
    {
        double sign = 1.0;
        int c = Peek();
        while (c == '+' || c == '-') {
            if (c == '-')
                sign = -sign;
            ++pos_;
            c = Peek();
        }
        if (!AtNumber(c))
            return Unexpected("数值");
        if (!ReadNumber(pos_, value))
            return false;
        value *= sign;
        return true;
    }

    // ---- names --------------------------------------------------------------------
    // The variable of that name, made on first use; -1 after a failure.
    [[gnu::always_inline]] int Variable(std::string_view name, std::size_t offset)
    {
        // Models name a handful of variables, mostly in turn (X1, X2, ...):
        // try the one after the last first.
        const std::size_t count = model_.variables.size();
        if (count > 0) {
            const std::size_t next = static_cast<std::size_t>(lastVariable_ + 1) < count ? lastVariable_ + 1 : 0;
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
        if (SameWord(name, "end") || SameWord(name, "enddata") || SameWord(name, "model")) {
            Fail(offset, "保留字不能作变量名");
            return -1;
        }
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

    // ---- expressions ----------------------------------------------------------------
    // A sum of terms; a term is a product of numbers (and quotients by
    // numbers) with at most one variable. Signs may stand before any term
    // and any factor, also right after a "+" ("+-3.00*X2"). Terms with a
    // variable go to terms, multiplied by side; constant terms go to
    // constant_. The terms make up most of a model's text: this reads them
    // with the place kept in a local, and hands it back to pos_ at the end.
    bool ReadExpression(std::vector<EngineTerm>& terms, double side)
    {
        const char* text = text_.data();
        const std::size_t size = text_.size();
        std::size_t p = pos_;
        for (;;) {
            double factor = side;
            int variable = -1;
            bool divide = false;
            for (;;) {
                p = SkipBlanks(p);
                while (p < size && (text[p] == '+' || text[p] == '-')) {
                    if (text[p] == '-')
                        factor = -factor;
                    p = SkipBlanks(p + 1);
                }
                const std::size_t at = p;
                const CharClass kind = p < size ? Class(text[p]) : kOther;
                if (kind == kDigit || (p < size && text[p] == '.' && p + 1 < size && Class(text[p + 1]) == kDigit)) {
                    double value = 0.0;
                    if (!ReadNumber(p, value))
                        return false;
                    if (divide) {
                        if (value == 0.0)
                            return Fail(at, "除数为零");
                        factor /= value;
                    } else {
                        factor *= value;
                    }
                } else if (kind == kLetter) {
                    if (variable >= 0)
                        return Fail(at, "一项中只能有一个变量");
                    if (divide)
                        return Fail(at, "不能除以变量");
                    std::size_t e = p + 1;
                    while (e < size && IsNameChar(text[e]))
                        ++e;
                    variable = Variable(std::string_view(text + p, e - p), p);
                    if (variable < 0)
                        return false;
                    p = e;
                } else {
                    pos_ = p;
                    return Unexpected("数值或变量");
                }
                p = SkipBlanks(p);
                if (!(std::fabs(factor) <= kLargestNumber)) {  // NaN too
                    pos_ = p;
                    if (!UnreadableHere())
                        Fail(p, "数值超出范围");
                    return false;
                }
                if (p < size && text[p] == '*')
                    divide = false;
                else if (p < size && text[p] == '/')
                    divide = true;
                else
                    break;
                ++p;
            }
            if (variable >= 0)
                terms.push_back(EngineTerm{variable, factor});
            else
                constant_.add(factor);
            if (p >= size || (text[p] != '+' && text[p] != '-')) {
                pos_ = p;
                return true;
            }
        }
    }

    // ---- statements ---------------------------------------------------------------
    bool ReadStatement()
    {
        std::string_view rowName;
        int c = Peek();
        std::size_t nameOffset = pos_;
        if (c == '[') {
            ++pos_;
            Peek();
            nameOffset = pos_;
            if (!ExpectName(rowName) || !ExpectChar(']'))
                return false;
            c = Peek();
        }
        constant_.clear();
        if ((AtWord("min") || AtWord("max")) && CharAfterWord(3) == '=') {
            if (model_.hasObjective)
                return Fail(pos_, "模型只能有一个目标函数");
            model_.hasObjective = true;
            model_.maximise = AtWord("max");
            model_.objectiveName = std::string(rowName);
            pos_ += 3;
            if (!ExpectChar('=') || !ReadExpression(model_.objective, 1.0) || !ExpectChar(';'))
                return false;
            model_.objectiveConstant = constant_.value();
            return rowName.empty() || AddRowName(rowName, nameOffset, -1);
        }
        EngineRow row;
        row.name = std::string(rowName);
        row.first = model_.terms.size();
        if (!ReadExpression(model_.terms, 1.0))
            return false;
        std::size_t length = 0;
        c = Peek();
        switch (c == kEnd ? kEnd : SymbolAt(c, length)) {
        case '<':
        case kAtMost:
            row.sense = RowSense::LessEqual;
            break;
        case '>':
        case kAtLeast:
            row.sense = RowSense::GreaterEqual;
            break;
        case '=':
            row.sense = RowSense::Equal;
            break;
        default:
            return Unexpected("\"<\"、\">\" 或 \"=\"");
        }
        pos_ += length;
        // Everything moves to the left, the constants to the right.
        if (!ReadExpression(model_.terms, -1.0) || !ExpectChar(';'))
            return false;
        row.count = model_.terms.size() - row.first;
        row.rhs = -constant_.value();
        if (!std::isfinite(row.rhs))
            return Fail(nameOffset, "数值超出范围");
        if (!rowName.empty() && !AddRowName(rowName, nameOffset, static_cast<int>(model_.rows.size())))
            return false;
        model_.rows.push_back(std::move(row));
        return true;
    }

    bool AddRowName(std::string_view name, std::size_t offset, int index)
    {
        if (!rows_.emplace(UpperKey(name), index).second)
            return Fail(offset, "行名重复");
        return true;
    }

    bool ReadFunction()
    {
        const std::size_t at = pos_;
        std::string_view name;
        if (!ReadFunctionName(name) || !ExpectChar('('))
            return false;
        if (SameWord(name, "@gin") || SameWord(name, "@bin") || SameWord(name, "@free")) {
            Peek();
            const std::size_t nameAt = pos_;
            std::string_view variable;
            if (!ExpectName(variable))
                return false;
            const int index = Variable(variable, nameAt);
            if (index < 0)
                return false;
            EngineVariable& v = model_.variables[index];
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
            double lower = 0.0;
            double upper = 0.0;
            std::string_view variable;
            if (!ExpectSignedNumber(lower) || !ExpectChar(','))
                return false;
            Peek();
            const std::size_t nameAt = pos_;
            if (!ExpectName(variable))
                return false;
            const int index = Variable(variable, nameAt);
            if (index < 0 || !ExpectChar(',') || !ExpectSignedNumber(upper))
                return false;
            model_.variables[index].lower = lower;
            model_.variables[index].upper = upper;
        } else {
            return Fail(at, "未知的函数");
        }
        return ExpectChar(')') && ExpectChar(';');
    }

    bool ReadData()
    {
        pos_ += 4;  // data
        if (!ExpectChar(':'))
            return false;
        for (;;) {
            const int c = Peek();
            if (IsLetterChar(c) && AtWord("enddata")) {
                pos_ += 7;
                return true;
            }
            std::string_view function;
            const std::size_t at = pos_;
            if (c != '@' || !ReadFunctionName(function) || !SameWord(function, "@pointer")) {
                pos_ = at;
                return Unexpected("\"@pointer\" 或 \"enddata\"");
            }
            if (!ExpectChar('('))
                return false;
            const int d = Peek();
            const std::size_t numberAt = pos_;
            if (!AtNumber(d))
                return Unexpected("指针编号");
            double number = 0.0;
            if (!ReadNumber(pos_, number))
                return false;
            if (number != std::floor(number) || number < 1 || number > kLargestPointer)
                return Fail(numberAt, "指针编号必须是正整数");
            if (!ExpectChar(')') || !ExpectChar('='))
                return false;
            Peek();
            const std::size_t nameAt = pos_;
            std::string_view name;
            if (!ExpectName(name) || !ExpectChar(';'))
                return false;
            model_.pointers.push_back(EnginePointerSlot{static_cast<int>(number), std::string(name)});
            pointerAt_.push_back(nameAt);
            numberAt_.push_back(numberAt);
        }
    }

    // Pointers may name a variable or a row written anywhere in the model, so
    // they are matched once the whole model has been read.
    bool ResolvePointers()
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
            return Fail(twice, "指针编号重复");

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
                return Fail(pointerAt_[i], "指针指向未知的名称 " + QuoteInput(slot.name));
            }
        }
        return true;
    }

    std::string_view text_;
    EngineModel& model_;
    std::size_t pos_ = 0;
    ExactSum constant_;  // the constant terms of the statement being read
    std::unordered_map<std::string, int> variables_;
    std::unordered_map<std::string, int> rows_;  // -1 = the objective
    std::vector<std::size_t> pointerAt_;
    std::vector<std::size_t> numberAt_;
    int lastVariable_ = -1;
    bool failed_ = false;
    std::size_t failedAt_ = 0;
    std::string message_;
};

bool IsContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

}  // namespace

bool StartsWithModel(std::string_view text)
{
    std::size_t p = 0;
    while (p < text.size() && Class(text[p]) == kBlank)
        ++p;
    std::size_t e = p;
    while (e < text.size() && Class(text[e]) == kLetter)
        ++e;
    if (!SameWord(text.substr(p, e - p), "model"))
        return false;
    while (e < text.size() && Class(text[e]) == kBlank)
        ++e;
    return e < text.size() && text[e] == ':';
}

bool ParseEngineModel(std::string_view text, EngineModel& model, EngineParseError& error, std::size_t* consumed)
{
    model = EngineModel{};
    Reader reader(text, model);
    std::size_t after = 0;
    if (reader.Run(after)) {
        if (consumed)
            *consumed = after;
        return true;
    }
    std::tie(error.line, error.column) = LineAndColumn(text, reader.failedAt());
    error.message = reader.message();
    model = EngineModel{};
    return false;
}

std::pair<int, int> LineAndColumn(std::string_view text, std::size_t offset)
{
    offset = std::min(offset, text.size());
    int line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    return {line, static_cast<int>(offset - lineStart) + 1};
}

std::string QuoteInput(std::string_view text)
{
    // Control characters out: C0, DEL, and C1 (U+0080 ... U+009F, in UTF-8
    // the bytes C2 80 ... C2 9F).
    std::string clean;
    clean.reserve(std::min<std::size_t>(text.size(), 4 * kEngineQuoteLimit));
    int characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F)
            continue;
        if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80
            && static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            ++i;
            continue;
        }
        if (!IsContinuation(c))
            ++characters;
        clean += static_cast<char>(c);
    }
    if (characters <= kEngineQuoteLimit)
        return clean;
    // The first half of the characters, "…", the last half.
    const int half = kEngineQuoteLimit / 2;
    std::size_t headEnd = 0;
    for (int seen = 0; headEnd < clean.size(); ++headEnd)
        if (!IsContinuation(static_cast<unsigned char>(clean[headEnd])) && seen++ == half)
            break;
    std::size_t tailStart = clean.size();
    for (int seen = 0; tailStart > 0 && seen < half;)
        if (!IsContinuation(static_cast<unsigned char>(clean[--tailStart])))
            ++seen;
    return clean.substr(0, headEnd) + "…" + clean.substr(tailStart);
}

void ExactSum::add(double x)
{
    if (!std::isfinite(x)) {
        special_ += x;
        return;
    }
    // Each partial takes its share of x; what their sum cannot hold exactly
    // is kept as a smaller partial, and the sum carries on upwards.
    double* partials = partials_.data();
    const std::size_t count = partials_.size();
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count; ++i) {
        double y = partials[i];
        if (std::fabs(x) < std::fabs(y))
            std::swap(x, y);
        const double high = x + y;
        if (!std::isfinite(high)) {
            special_ += high;
            partials_.clear();
            return;
        }
        const double low = y - (high - x);
        if (low != 0.0)
            partials[kept++] = low;
        x = high;
    }
    if (kept < count) {
        partials[kept] = x;
        partials_.resize(kept + 1);
    } else {
        partials_.push_back(x);
    }
}

double ExactSum::value() const
{
    if (special_ != 0.0 || std::isnan(special_))
        return special_;
    std::size_t n = partials_.size();
    if (n == 0)
        return 0.0;
    // From the largest partial down, until a sum is no longer exact.
    double high = partials_[--n];
    double low = 0.0;
    while (n > 0) {
        const double x = high;
        const double y = partials_[--n];
        high = x + y;
        low = y - (high - x);
        if (low != 0.0)
            break;
    }
    // Halfway between two doubles: the partials below decide the direction.
    if (n > 0 && ((low < 0.0 && partials_[n - 1] < 0.0) || (low > 0.0 && partials_[n - 1] > 0.0))) {
        const double y = low * 2.0;
        const double x = high + y;
        if (y == x - high)
            high = x;
    }
    return high;
}
