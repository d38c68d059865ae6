// velmora-engine FILE: solves a model file (one that starts with "model:") or
// runs an engine script, outside the program, through the same engine.
// Prints one line per pointer: number, tab, name, tab, value.
// Exit status: 0 optimum found, 1 no solution, 2 file unreadable or not valid.

#include "blend/Engine.h"

#include <charconv>
#include <cstdio>
#include <string>

namespace {

std::string NumberText(double value)
{
    if (value == 0.0)
        value = 0.0;  // no "-0"
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "用法: velmora-engine 文件\n");
        return 2;
    }

    // The file is read once, by the name exactly as given; the engine runs
    // the text it read.
    EngineHandle env = EngineCreateEnv();
    EngineExecuteFile(env, argv[1]);
    const EngineReport report = EngineLastReport(env);
    EngineCloseLogFile(env);
    EngineDeleteEnv(env);

    switch (report.status) {
    case EngineStatus::Optimal:
        for (const EnginePointerValue& p : report.pointers)
            std::printf("%d\t%s\t%s\n", p.number, p.name.c_str(), NumberText(p.value).c_str());
        return 0;
    case EngineStatus::Infeasible:
    case EngineStatus::Unbounded:
    case EngineStatus::SolverFailed:
        std::fprintf(stderr, "%s\n", EngineDescribe(report).c_str());
        return 1;
    case EngineStatus::NotSolved:
    case EngineStatus::ReadError:
    case EngineStatus::ParseError:
    case EngineStatus::ScriptError:
        break;
    }
    std::fprintf(stderr, "%s\n", EngineDescribe(report).c_str());
    return 2;
}
