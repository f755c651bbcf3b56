// The pattern store loader over any bytes. Whatever it loads, saving is
// stable: the file written after loading a saved file is the same file, so
// opening and confirming the dialog never drifts a value.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/pattern_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tesra::PatternStore store =
        tesra::ParsePatternStore({reinterpret_cast<const char*>(data), size});
    const std::string saved = tesra::SerializePatternStore(store);
    if (tesra::SerializePatternStore(tesra::ParsePatternStore(saved)) != saved) std::abort();
    return 0;
}
