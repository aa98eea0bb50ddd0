// Running one of the program's commands from a test: in a folder of the test's own, with
// its output and errors caught, and its exit status.
#pragma once

#include <string>
#include <vector>

struct CommandOutcome {
    int status = -1; // the exit status; -1 when the command did not exit normally
    std::string out, err;
};

// `text` as one word for the shell.
std::string ShellQuote(const std::string &text);

// The whole file, or "" when it cannot be read.
std::string ReadWholeFile(const std::string &path);

// Runs `program` with `arguments` in `folder`. Standard output and errors go to files beside
// the folder (not in it, so the folder holds only what the command wrote) and are read back;
// standard output goes to `stdoutTarget` instead when it is given, and is not read back.
CommandOutcome RunCommandIn(const std::string &folder, const std::string &program,
                            const std::vector<std::string> &arguments, const std::string &stdoutTarget = "");
