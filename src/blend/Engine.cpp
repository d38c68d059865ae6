#include "blend/Engine.h"

#include "blend/EngineModel.h"
#include "blend/EngineSolver.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

// Everything a script leaves behind lives here; nothing is shared between
// environments.
struct EngineEnvironment {
    std::vector<double*> cells;
    bool echo = false;
    std::optional<EngineModel> model;
    EngineReport report;
};

namespace {

char UpperChar(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string UpperText(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = UpperChar(c);
    return out;
}

// Reads a whole file into content. Only a regular file is read (a pipe as
// well when allowPipe), and never more than kEngineLargestFile bytes: a
// device or a pipe may have no end, and a FIFO nobody writes to would block
// the open itself. "" on success, otherwise why not.
std::string ReadFileText(const std::string& path, std::string& content, bool allowPipe)
{
    namespace fs = std::filesystem;
    content.clear();
    std::error_code error;
    const fs::file_status status = fs::status(fs::path(path), error);
    if (error || !fs::exists(status))
        return "无法读取文件";
    if (!fs::is_regular_file(status) && !(allowPipe && fs::is_fifo(status)))
        return "不是普通文件，不予读取";
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return "无法读取文件";
    // The pieces go straight into buffer, without the stream's own copy.
    std::setvbuf(file, nullptr, _IONBF, 0);
    // At most one byte beyond the limit is read: a file larger than the
    // limit, one that grew since it was looked at, or a pipe that goes on is
    // refused as soon as it passes the limit.
    const std::size_t limit = static_cast<std::size_t>(kEngineLargestFile);
    char buffer[65536];
    bool failed = false;
    for (;;) {
        const std::size_t room = std::min(sizeof buffer, limit + 1 - content.size());
        const std::size_t got = std::fread(buffer, 1, room, file);
        content.append(buffer, got);
        if (content.size() > limit || got < room) {
            failed = got < room && std::ferror(file) != 0;
            break;
        }
    }
    std::fclose(file);
    if (content.size() > limit) {
        content.clear();
        return "文件大于 " + std::to_string(kEngineLargestFile / (1024 * 1024)) + " MiB，不予读取";
    }
    if (failed) {
        content.clear();
        return "无法读取文件";
    }
    return {};
}

int CodeOf(EngineStatus status)
{
    switch (status) {
    case EngineStatus::NotSolved:
    case EngineStatus::Optimal:
        return kEngineOk;
    case EngineStatus::Infeasible:
        return kEngineInfeasible;
    case EngineStatus::Unbounded:
        return kEngineUnbounded;
    case EngineStatus::SolverFailed:
        return kEngineSolverFailed;
    case EngineStatus::ReadError:
        return kEngineReadError;
    case EngineStatus::ParseError:
        return kEngineParseError;
    case EngineStatus::ScriptError:
        return kEngineScriptError;
    }
    return kEngineScriptError;
}

class ScriptRunner {
public:
    explicit ScriptRunner(EngineEnvironment& env) : env_(env) {}

    // Runs the commands of text; false when a command failed or QUIT was given
    // (quit_ tells which), so that an enclosing script stops as well.
    bool Run(std::string_view text, const std::string& source, int depth)
    {
        std::size_t pos = 0;
        int line = 1;
        while (pos < text.size() && !quit_) {
            std::size_t end = text.find('\n', pos);
            if (end == std::string_view::npos)
                end = text.size();
            const std::string_view raw = Trim(text.substr(pos, end - pos));
            if (!raw.empty() && raw.front() != '!' && StartsWithModel(raw)) {
                // A model written into the script: it runs up to its "end".
                const std::size_t from = pos;
                if (!ReadModel(text.substr(from), source, line))
                    return false;
                const std::size_t after = from + consumed_;
                for (std::size_t i = from; i < after; ++i)
                    if (text[i] == '\n')
                        ++line;
                pos = after;
                continue;
            }
            if (!raw.empty() && raw.front() != '!' && !Command(raw, source, line, depth))
                return false;
            pos = end + 1;
            ++line;
        }
        return !quit_;
    }

    // Reads the file at path and runs it as TAKE does: a model is read, to be
    // solved by a later GO; anything else runs as commands one level deeper.
    // *isModelFile (when given) tells which it was.
    bool Take(const std::string& path, int depth, bool allowPipe = false, bool* isModelFile = nullptr)
    {
        if (depth >= kEngineDeepestTake)
            return Fail(EngineStatus::ScriptError, "TAKE 嵌套过深", path);
        if (filesRead_ >= kEngineMostFiles)
            return Fail(EngineStatus::ScriptError,
                        "一个脚本最多读取 " + std::to_string(kEngineMostFiles) + " 个文件", path);
        ++filesRead_;
        std::string content;
        const std::string problem = ReadFileText(path, content, allowPipe);
        if (!problem.empty()) {
            env_.model.reset();
            return Fail(EngineStatus::ReadError, problem, path);
        }
        const bool isModel = StartsWithModel(content);
        if (isModelFile)
            *isModelFile = isModel;
        // A NUL byte would end the text for anyone reading it as a C string:
        // what the engine runs and what others see of the file would differ.
        const std::size_t nul = content.find('\0');
        if (nul != std::string::npos) {
            env_.model.reset();
            const auto [line, column] = LineAndColumn(content, nul);
            return Fail(isModel ? EngineStatus::ParseError : EngineStatus::ScriptError, "文件中有空字符 (NUL)",
                        path, line, column);
        }
        if (isModel)
            return ReadModel(content, path, 1);
        return Run(content, path, depth + 1);
    }

    bool Go(const std::string& source, int line)
    {
        if (!env_.model)
            return Fail(EngineStatus::ScriptError, "没有可求解的模型", source, line, 1);
        const EngineModel& model = *env_.model;
        const EngineSolution solution = SolveEngineModel(model);
        switch (solution.status) {
        case EngineSolveStatus::Optimal:
            break;
        case EngineSolveStatus::Infeasible:
            return Fail(EngineStatus::Infeasible, solution.message);
        case EngineSolveStatus::Unbounded:
            return Fail(EngineStatus::Unbounded, solution.message);
        case EngineSolveStatus::Failed:
            return Fail(EngineStatus::SolverFailed, solution.message);
        }
        EngineReport& r = env_.report;
        r = EngineReport{};
        r.status = EngineStatus::Optimal;
        r.pointers.reserve(model.pointers.size());
        for (const EnginePointerSlot& slot : model.pointers) {
            double value = 0.0;
            switch (slot.kind) {
            case EnginePointerSlot::Variable:
                value = solution.values[slot.index];
                break;
            case EnginePointerSlot::Objective:
                value = solution.objective;
                break;
            case EnginePointerSlot::Row:
                value = solution.activity[slot.index];
                break;
            }
            if (slot.number <= static_cast<int>(env_.cells.size()))
                *env_.cells[slot.number - 1] = value;
            r.pointers.push_back(EnginePointerValue{slot.number, slot.name, value});
        }
        std::sort(r.pointers.begin(), r.pointers.end(),
                  [](const EnginePointerValue& a, const EnginePointerValue& b) { return a.number < b.number; });
        return true;
    }

    bool quit() const { return quit_; }

private:
    bool Fail(EngineStatus status, std::string message, const std::string& file = {}, int line = 0,
              int column = 0)
    {
        EngineReport& r = env_.report;
        r.status = status;
        r.message = std::move(message);
        r.file = file;
        r.line = line;
        r.column = column;
        r.pointers.clear();
        return false;
    }

    bool Command(std::string_view command, const std::string& source, int line, int depth)
    {
        std::size_t split = 0;
        while (split < command.size() && !IsSpace(command[split]))
            ++split;
        const std::string word = UpperText(command.substr(0, split));
        const std::string_view rest = Trim(command.substr(split));

        if (word == "SET") {
            std::size_t gap = 0;
            while (gap < rest.size() && !IsSpace(rest[gap]))
                ++gap;
            const std::string name = UpperText(rest.substr(0, gap));
            const std::string_view value = Trim(rest.substr(gap));
            if (name == "ECHOIN" && !value.empty()) {
                env_.echo = value != "0";
                return true;
            }
            return Fail(EngineStatus::ScriptError, "无法识别的 SET 参数", source, line, 1);
        }
        if (word == "TAKE") {
            if (rest.empty())
                return Fail(EngineStatus::ScriptError, "TAKE 命令缺少文件名", source, line, 1);
            return Take(std::string(rest), depth);
        }
        if (word == "GO" && rest.empty())
            return Go(source, line);
        if (word == "QUIT" && rest.empty()) {
            quit_ = true;
            return false;
        }
        return Fail(EngineStatus::ScriptError, "无法识别的命令 " + QuoteInput(command), source, line, 1);
    }

    // Reads a model starting at text; firstLine is the line text starts on.
    bool ReadModel(std::string_view text, const std::string& source, int firstLine)
    {
        EngineModel model;
        EngineParseError error;
        if (!ParseEngineModel(text, model, error, &consumed_)) {
            env_.model.reset();
            return Fail(EngineStatus::ParseError, error.message, source, error.line + firstLine - 1,
                        error.column);
        }
        env_.model = std::move(model);
        env_.report = EngineReport{};
        return true;
    }

    EngineEnvironment& env_;
    bool quit_ = false;
    std::size_t consumed_ = 0;
    int filesRead_ = 0;  // by this script, nested TAKEs included
};

}  // namespace

EngineHandle EngineCreateEnv()
{
    return new EngineEnvironment;
}

int EngineSetPointer(EngineHandle env, double* cell, int* counter)
{
    if (!env || !cell)
        return kEngineScriptError;
    env->cells.push_back(cell);
    if (counter)
        *counter = static_cast<int>(env->cells.size());
    return kEngineOk;
}

int EngineExecuteScript(EngineHandle env, const char* script)
{
    if (!env)
        return kEngineScriptError;
    if (!script || !*script)
        return kEngineOk;
    env->report = EngineReport{};
    ScriptRunner runner(*env);
    runner.Run(std::string_view(script), std::string(), 0);
    return CodeOf(env->report.status);
}

int EngineExecuteFile(EngineHandle env, const char* path)
{
    if (!env)
        return kEngineScriptError;
    env->report = EngineReport{};
    if (!path) {
        env->report.status = EngineStatus::ReadError;
        env->report.message = "无法读取文件";
        return CodeOf(env->report.status);
    }
    ScriptRunner runner(*env);
    const std::string name(path);
    bool isModel = false;
    if (runner.Take(name, 0, true, &isModel) && isModel)
        runner.Go(name, 0);  // a model file is solved at once
    return CodeOf(env->report.status);
}

int EngineCloseLogFile(EngineHandle env)
{
    return env ? kEngineOk : kEngineScriptError;
}

int EngineDeleteEnv(EngineHandle env)
{
    if (!env)
        return kEngineScriptError;
    delete env;
    return kEngineOk;
}

const EngineReport& EngineLastReport(EngineHandle env)
{
    static const EngineReport none = [] {
        EngineReport report;
        report.status = EngineStatus::ScriptError;
        report.message = "无效的引擎句柄";
        return report;
    }();
    return env ? env->report : none;
}

std::string EngineDescribe(const EngineReport& report)
{
    std::string text;
    if (!report.file.empty())
        text += QuoteInput(report.file) + ": ";
    if (report.line > 0) {
        text += "第 " + std::to_string(report.line) + " 行第 " + std::to_string(report.column) + " 列: ";
    }
    if (report.status == EngineStatus::NotSolved && report.message.empty())
        return text + "没有求解任何模型";
    return text + report.message;
}
