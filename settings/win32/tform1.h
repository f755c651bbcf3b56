#pragma once
// The settings form of the Windows build: the window TForm1 around the
// dialog's logic, and the message loop that runs until the form closes.

#include <windows.h>

#include <filesystem>

#include "settings/figure_library.h"
#include "settings/pattern_store.h"
#include "settings/symbol_library.h"

namespace tesra::win32 {

// Shows the filled form (bz: the exchange file carried the scale switch) and
// returns the exit status once OK, Cancel or the close box has closed it. The
// figure lists offer library's own figures too; renaming and deleting them
// is saved to libraryFile on OK, and so are the changes to the symbols, to
// symbolFile.
int RunSettingsForm(HINSTANCE instance, PatternStore& store, const std::filesystem::path& storeFile,
                    FigureLibrary library, const std::filesystem::path& libraryFile,
                    SymbolLibrary symbols, const std::filesystem::path& symbolFile, bool bz,
                    int showCommand);

}  // namespace tesra::win32
