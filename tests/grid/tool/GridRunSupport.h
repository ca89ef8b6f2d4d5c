#pragma once
// Runs the gridrun tool on directive lines (or any command) and gives what it printed and its
// exit status.

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/TempName.h"

struct TRun {
    std::string Out;
    int Status = -1;
};

// A named row of a table of runs: the directives, and what gridrun prints for them.
struct TGridRunCase {
    const char* name;
    const char* directives;
    const char* out;
};
inline void PrintTo(const TGridRunCase& c, std::ostream* os) { *os << c.name; }

// Runs a shell command and gives its standard output and exit status.
inline TRun RunCommand(const std::string& command)
{
    TRun run;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            run.Out.append(buffer, got);
        const int status = pclose(pipe);
        run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return run;
}

// Runs gridrun on the directives; standard error joins the output when asked; options go before
// the file name.
inline TRun GridRun(const std::string& directives, bool withErrors = false, const std::string& options = "")
{
    std::string name = TempPattern("gridrun-test");
    const int fd = mkstemp(name.data());
    EXPECT_GE(fd, 0);
    close(fd);
    std::ofstream(name, std::ios::binary) << directives;
    // gridrun chooses its own quiet offscreen platform when none is named.
    const TRun run = RunCommand("env -u QT_QPA_PLATFORM " + std::string(HM_BIN_DIR) + "/gridrun " + options + " " +
                                name + (withErrors ? " 2>&1" : " 2>/dev/null"));
    unlink(name.c_str());
    return run;
}

// The whole of a file, or nothing when it cannot be read.
inline std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The text with every `from` in it made `to`.
inline std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}
