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
