#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A linear model as the engine's model language states it, after reading:
// variables with bounds and integrality, one optional objective, constraint
// rows and the pointers of the data section.
struct EngineTerm {
    int variable;
    double coefficient;
};

enum class RowSense { LessEqual, GreaterEqual, Equal };

struct EngineRow {
    std::string name;  // "" when the row carries no [name]
    std::size_t first = 0;  // its terms: EngineModel::terms[first, first + count)
    std::size_t count = 0;
    RowSense sense = RowSense::LessEqual;
    double rhs = 0.0;
};

struct EngineVariable {
    std::string name;    // as first written
    bool integer = false;
    double lower = 0.0;  // variables are non-negative unless declared otherwise
    double upper = 1e300;  // >= kEngineInfinity means no upper bound
};

inline constexpr double kEngineInfinity = 1e300;

struct EnginePointerSlot {
    int number;
    std::string name;  // as written in the data section
    // What the pointer reads: a variable, the objective, or a constraint row.
    enum Kind { Variable, Objective, Row } kind = Variable;
    int index = 0;
};

// The terms of a row or of the objective are kept as written: one variable
// may appear in several of them, and the solver adds them up.
struct EngineModel {
    std::vector<EngineVariable> variables;
    bool hasObjective = false;
    bool maximise = false;
    std::string objectiveName;
    std::vector<EngineTerm> objective;
    double objectiveConstant = 0.0;
    std::vector<EngineRow> rows;
    std::vector<EngineTerm> terms;  // the terms of every row, row after row
    std::vector<EnginePointerSlot> pointers;  // in the order of the data section
};

inline std::span<const EngineTerm> RowTerms(const EngineModel& model, const EngineRow& row)
{
    return std::span<const EngineTerm>(model.terms.data() + row.first, row.count);
}

struct EngineParseError {
    int line = 0;
    int column = 0;
    std::string message;
};

// Reads a model from text that starts (after blanks) with "model:". On
// success returns true and fills model; *consumed (when given) receives the
// offset just past "end". On failure fills error with the 1-based line and
// column of the offending place, counted from the start of text.
bool ParseEngineModel(std::string_view text, EngineModel& model, EngineParseError& error,
                      std::size_t* consumed = nullptr);

// True when text, after leading blanks, starts with "model:" (any letter case).
bool StartsWithModel(std::string_view text);

// The 1-based line and column of offset in text, as messages name places.
std::pair<int, int> LineAndColumn(std::string_view text, std::size_t offset);

// How many characters of an input text a message quotes at most.
inline constexpr int kEngineQuoteLimit = 80;

// Input text (a command, a name, a file name) as a message may quote it:
// control characters are dropped, and a text longer than kEngineQuoteLimit
// characters keeps its first and its last half of them, with "…" between.
// UTF-8 sequences are never split.
std::string QuoteInput(std::string_view text);

// A sum of doubles without rounding on the way: the running sum is kept as
// a list of non-overlapping partial sums and rounded once, when read. So
// 1e16 + 1 - 1e16 is 1, where adding in turn gives 0. The list keeps its room
// after clear(), so one accumulator serves many sums without allocating.
class ExactSum {
public:
    void add(double x);
    double value() const;
    void clear()
    {
        partials_.clear();
        special_ = 0.0;
    }

private:
    std::vector<double> partials_;  // increasing in magnitude
    double special_ = 0.0;          // infinities, NaN or an overflow, added plainly
};
