#include "CommandRun.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

std::string ShellQuote(const std::string &text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string ReadWholeFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

CommandOutcome RunCommandIn(const std::string &folder, const std::string &program,
                            const std::vector<std::string> &arguments, const std::string &stdoutTarget)
{
    const std::string out = stdoutTarget.empty() ? folder + ".out" : stdoutTarget, err = folder + ".err";
    std::string command = "cd " + ShellQuote(folder) + " && " + ShellQuote(program);
    for (const std::string &a : arguments) {
        command += ' ';
        command += ShellQuote(a);
    }
    command += " >" + ShellQuote(out) + " 2>" + ShellQuote(err);
    const int raw = std::system(command.c_str());
    CommandOutcome outcome;
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    if (stdoutTarget.empty()) {
        outcome.out = ReadWholeFile(out);
        std::filesystem::remove(out);
    }
    outcome.err = ReadWholeFile(err);
    std::filesystem::remove(err);
    return outcome;
}
