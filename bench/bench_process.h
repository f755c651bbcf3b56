#pragma once
// Starting a program the way the host starts tesra, without a shell between,
// and measuring its peak memory apart from the timed runs.

#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace tesra::bench {

struct ProcessResult {
    int status = -1;
};

inline ProcessResult RunProcess(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0)
        throw std::runtime_error("cannot start " + argv[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// The program's peak resident memory in KiB, through bench/peak_rss.c.
inline long PeakKiB(const std::vector<std::string>& argv, const std::filesystem::path& scratch) {
    std::vector<std::string> measured = {PEAK_RSS_EXE, scratch.string()};
    measured.insert(measured.end(), argv.begin(), argv.end());
    RunProcess(measured);
    long kib = 0;
    std::ifstream(scratch) >> kib;
    return kib;
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace tesra::bench
