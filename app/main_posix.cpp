// Entry of the build without a window system: the drawing modes only.

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "app/run.h"

namespace {

// The exchange file and the store live beside the executable, wherever the
// current directory is.
std::filesystem::path ExecutablePath(const char* argv0) {
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return self;
    return std::filesystem::absolute(argv0, ec);
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<std::string_view> firstArgument;
    if (argc > 1) firstArgument = argv[1];
    const tesra::RunMode mode = tesra::ModeFromArgument(firstArgument);
    if (mode == tesra::RunMode::Dialog) {
        std::fputs("tesra: the settings dialog is part of the Windows build\n", stderr);
        return 2;
    }
    const auto paths = tesra::RunPaths::ForExecutable(ExecutablePath(argc > 0 ? argv[0] : "tesra"));
    return tesra::RunDrawingMode(mode, paths);
}
