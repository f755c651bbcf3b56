// The symbol library reader over any bytes. What it reads stays within its
// bounds, and saving is stable: the file written after reading a saved file
// is the same file, so adding a symbol never changes another one, and every
// line it could not read is still there.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/symbol_library.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tesra::SymbolLibrary library =
        tesra::ParseSymbolLibrary({reinterpret_cast<const char*>(data), size});
    if (library.symbols.size() > tesra::kMaxSymbols) std::abort();
    for (const tesra::Symbol& s : library.symbols)
        if (s.name.find('\0') != std::string::npos) std::abort();
    if (!library.writable) return 0;
    const std::string saved = tesra::SerializeSymbolLibrary(library);
    const tesra::SymbolLibrary again = tesra::ParseSymbolLibrary(saved);
    if (again.symbols != library.symbols || tesra::SerializeSymbolLibrary(again) != saved)
        std::abort();
    return 0;
}
