#pragma once

#include <string>
#include <vector>

// The optimisation engine the program hands its models to. It is driven the
// way the blending run has always driven it: an environment, Double cells
// registered as pointers 1, 2, ..., and a script of commands, one a line,
// in any letter case:
//   SET ECHOIN 1    echo of the input (accepted; there is no log to echo to)
//   TAKE path       read a file: a model ("model:" ... "end") or more commands
//   GO              solve the model read last; on an optimum write every
//                   pointer of its data section into the registered cells
//   QUIT            stop reading commands
// A model may also stand in the script itself, from a "model:" line to "end".
// Lines starting with "!" are comments. The first failing command ends the
// script; nothing is written into the cells unless a solve found an optimum.
//
// Limits that keep a script from running away with the machine:
// - TAKE reads regular files only (not devices, pipes or folders), of at
//   most kEngineLargestFile bytes each;
// - one script reads at most kEngineMostFiles files in all, nested TAKEs
//   included, and TAKEs nest at most kEngineDeepestTake deep;
// - a file with a NUL byte is refused, naming the byte's line and column;
// - messages quote input without control characters, cut to
//   kEngineQuoteLimit characters (EngineModel.h).

struct EngineEnvironment;
using EngineHandle = EngineEnvironment*;

inline constexpr long long kEngineLargestFile = 64LL * 1024 * 1024;  // 64 MiB
inline constexpr int kEngineMostFiles = 1000;
inline constexpr int kEngineDeepestTake = 8;

// Result codes of the five calls (the program ignores them, the command line
// tool reports them).
enum EngineCode {
    kEngineOk = 0,
    kEngineInfeasible = 1,   // the model has no feasible point
    kEngineUnbounded = 2,    // the objective has no finite optimum
    kEngineSolverFailed = 3, // the solver gave up (time limit, numerical trouble)
    kEngineReadError = 4,    // a file named by TAKE cannot be read
    kEngineParseError = 5,   // the model text is not in the model language
    kEngineScriptError = 6,  // unknown command, GO without a model, bad handle
};

EngineHandle EngineCreateEnv();
// Registers cell as the next pointer (1 for the first call, ...); *counter
// receives the number of cells registered so far.
int EngineSetPointer(EngineHandle env, double* cell, int* counter);
// Runs a NUL-terminated script synchronously. An empty script does nothing.
int EngineExecuteScript(EngineHandle env, const char* script);
// Reads the file at path, exactly as named, once, and runs it: a model (text
// starting with "model:") is read and solved as "TAKE path" and "GO" would,
// any other text runs as a script. Beside regular files it also reads a pipe
// (standard input through /dev/stdin), under the same size limit: the caller
// named that file itself, as a command line does. Errors name path.
int EngineExecuteFile(EngineHandle env, const char* path);
int EngineCloseLogFile(EngineHandle env);
// Releases the environment; the registered cells are not touched afterwards.
int EngineDeleteEnv(EngineHandle env);

// What the last script did, for callers that want more than the cells.
enum class EngineStatus { NotSolved, Optimal, Infeasible, Unbounded, SolverFailed, ReadError, ParseError, ScriptError };

struct EnginePointerValue {
    int number;
    std::string name;
    double value;
};

struct EngineReport {
    EngineStatus status = EngineStatus::NotSolved;
    std::string message;   // "" after an optimum
    std::string file;      // the file a read or parse error is about
    int line = 0;          // 1-based position of a parse error or script error
    int column = 0;
    std::vector<EnginePointerValue> pointers;  // after an optimum, by pointer number
};

const EngineReport& EngineLastReport(EngineHandle env);

// "file: line L, column C: message" style text of a failed report, in the
// program's language.
std::string EngineDescribe(const EngineReport& report);
