// Entry of the Windows build. The drawing modes read, draw and write without
// creating any window; only the settings dialog shows one.

// The window system first: the others build on its types.
#include <windows.h>

#include <shellapi.h>

#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "app/run.h"
#include "exchange/reader.h"
#include "settings/figure_library.h"
#include "settings/symbol_library.h"
#include "settings/win32/tform1.h"
#include "settings/win32/wide_text.h"

namespace {

// The exchange file and the store live beside the executable, wherever the
// host's batch file left the current directory.
std::filesystem::path ExecutablePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);  // truncated: a long path
    }
}

std::optional<std::string> FirstArgument() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments) return std::nullopt;
    std::optional<std::string> first;
    if (count > 1) first = tesra::win32::Narrow(arguments[1]);
    LocalFree(arguments);
    return first;
}

// The dialog needs only the exchange file's scale switch. One too large to
// hold in memory is treated as absent, so the user still gets the dialog.
void PrepareDialogRun(tesra::RunContext& run, const tesra::RunPaths& paths) {
    try {
        tesra::PrepareRun(run, paths);
    } catch (const std::bad_alloc&) {
        tesra::FreeExchangeState(run.exchange);
        run.store = tesra::LoadPatternStore(paths.storeFile);
    }
}

// The figure lists offer every own figure, whichever row is in use. A library
// too large to hold leaves them with the built-in figures only.
tesra::FigureLibrary LoadDialogLibrary(const tesra::RunPaths& paths) {
    try {
        return tesra::LoadFigureLibrary(paths.figureLibrary);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

// The symbols beside the executable. A file too large to hold leaves the
// chooser empty and read-only, so that the file is never written over.
tesra::SymbolLibrary LoadDialogSymbols(const std::filesystem::path& file) {
    try {
        return tesra::LoadSymbolLibrary(file);
    } catch (const std::bad_alloc&) {
        tesra::SymbolLibrary none;
        none.writable = false;
        return none;
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const std::optional<std::string> argument = FirstArgument();
    const tesra::RunMode mode = tesra::ModeFromArgument(
        argument ? std::optional<std::string_view>(*argument) : std::nullopt);
    const auto paths = tesra::RunPaths::ForExecutable(ExecutablePath());
    if (mode != tesra::RunMode::Dialog) return tesra::RunDrawingMode(mode, paths);

    const auto run = std::make_unique<tesra::RunContext>();
    PrepareDialogRun(*run, paths);
    const std::filesystem::path symbolFile = paths.storeFile.parent_path() / tesra::kSymbolFileName;
    const int status = tesra::win32::RunSettingsForm(
        instance, run->store, paths.storeFile, LoadDialogLibrary(paths), paths.figureLibrary,
        LoadDialogSymbols(symbolFile), symbolFile, run->exchange.bz, showCommand);
    tesra::FreeExchangeState(run->exchange);  // FormClose: the dialog has closed
    return status;
}
