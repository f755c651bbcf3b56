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

bool AsksForHelp(std::optional<std::string_view> argument) {
    return argument == "--help" || argument == "-h";
}

// Names the files of this copy, as a renamed executable names its store and
// library after itself.
void PrintHelp(const tesra::RunPaths& paths) {
    std::printf(
        "usage: tesra MODE\n"
        "\n"
        "Draws the pattern in use into the host's exchange file, as the batch files\n"
        "start tesra.exe from Jw_cad. Only files beside the executable are read and\n"
        "written, whatever the current directory:\n"
        "  %s\n"
        "      the exchange file the host wrote, replaced by what the run draws\n"
        "  %s\n"
        "      the twelve patterns and the row in use (defaults when missing)\n"
        "  %s\n"
        "      the user's own figures\n"
        "\n"
        "MODE\n"
        "  1  between the first two indicated points (tesra_2ten.bat)\n"
        "  2  along the chain of indicated points, closed when the last point is the\n"
        "     first again (tesra_renzoku.bat)\n"
        "  3  along the selected lines, arcs and circles (tesra_sentaku.bat)\n"
        "  4  slope ticks from the top edge nearest point 1 towards the toe\n"
        "     (tesra_norimen.bat)\n"
        "  5  the selected elements become an own figure (tesra_touroku.bat)\n"
        "\n"
        "Exit status: 0 when the exchange file was replaced, 1 when it was not.\n"
        "\n"
        "The settings dialog (tesra.exe without an argument, tesra_settei.bat) is part\n"
        "of the Windows build only; here the patterns are edited in the store by hand.\n"
        "Without an argument or with another one, tesra touches no file and exits with\n"
        "status 2; --help prints this and exits 0.\n",
        paths.exchangeFile.c_str(), paths.storeFile.c_str(), paths.figureLibrary.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<std::string_view> firstArgument;
    if (argc > 1) firstArgument = argv[1];
    const auto paths = tesra::RunPaths::ForExecutable(ExecutablePath(argc > 0 ? argv[0] : "tesra"));
    if (AsksForHelp(firstArgument)) {
        PrintHelp(paths);
        return 0;
    }
    const tesra::RunMode mode = tesra::ModeFromArgument(firstArgument);
    if (mode == tesra::RunMode::Dialog) {
        std::fputs(
            "tesra: a drawing mode 1 to 5 is needed (the settings dialog is part of the "
            "Windows build only); tesra --help explains them\n",
            stderr);
        return 2;
    }
    return tesra::RunDrawingMode(mode, paths);
}
