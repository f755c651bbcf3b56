#pragma once
// Running the real executable the way the host does: a copy of it stands in
// a folder beside JWC_TEMP.TXT and its store, and it is started from another
// working directory, so it must find its files beside itself.
//
// TESRA_EXE_WRAPPER (e.g. "valgrind --error-exitcode=99") runs it under a
// checker.
//
// No run is timed: a run that has not ended after several minutes (scaled for
// the sanitizers and for a wrapper) is killed as a hang, which no machine load
// can reach. Speed is measured by the benchmarks under bench/.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace tesra::test {

inline std::string ShellQuoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

struct TesraRun {
    std::string exeName = "tesra";
    bool copyExecutable = true;  // false: the folder already holds it
    std::string shellPrefix;     // e.g. "ulimit -v 400000 && "
    std::string stderrPath = "/dev/null";
    std::string stdoutPath;  // empty: the test's own
};

struct TesraResult {
    int status = -1;  // exit status, -1 when it did not exit normally
};

// Native runs end in well under a second even at the figure limit.
inline int HangTimeoutSeconds() {
    int seconds = 300;
#if defined(__SANITIZE_ADDRESS__)
    seconds *= 5;
#endif
    if (std::getenv("TESRA_EXE_WRAPPER")) seconds *= 10;
    return seconds;
}

// Runs that must fail for want of memory: the address space is capped at
// 400 MB. Returns why that cannot be done in this build, or nullptr.
inline const char* WhyNoAddressLimit() {
#if defined(__SANITIZE_ADDRESS__)
    return "AddressSanitizer reserves more address space than the limit allows";
#endif
    if (std::getenv("TESRA_EXE_WRAPPER"))
        return "a wrapped run needs more address space than the limit allows";
    return nullptr;
}

inline TesraRun UnderAddressLimit() {
    TesraRun how;
    how.shellPrefix = "ulimit -v 400000 && ";
    return how;
}

inline TesraResult RunTesraIn(const std::filesystem::path& dir,
                              const std::vector<std::string>& args, const TesraRun& how = {}) {
    const std::filesystem::path exe = dir / how.exeName;
    if (how.copyExecutable)
        std::filesystem::copy_file(TESRA_EXE, exe,
                                   std::filesystem::copy_options::overwrite_existing);
    std::string command = "cd / && " + how.shellPrefix;
    // Killed rather than asked: a hung run may ignore SIGTERM.
    command += "timeout -s KILL " + std::to_string(HangTimeoutSeconds()) + " ";
    if (const char* wrapper = std::getenv("TESRA_EXE_WRAPPER"))
        command += std::string(wrapper) + " ";
    command += ShellQuoted(exe.string());
    for (const std::string& a : args) command += " " + ShellQuoted(a);
    command += " 2>" + ShellQuoted(how.stderrPath);
    if (!how.stdoutPath.empty()) command += " >" + ShellQuoted(how.stdoutPath);
    const int status = std::system(command.c_str());
    TesraResult r;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

}  // namespace tesra::test
