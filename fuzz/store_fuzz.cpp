// The pattern store loader over any bytes. Whatever it loads, saving is
// stable: the file written after loading a saved file is the same file, so
// opening and confirming the dialog never drifts a value. And the saved
// file's first 113 lines alone are a whole store of the same rows, as a
// reader that knows nothing of the [extension] section finds them.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/pattern_store.h"

namespace {

std::size_t First113LinesSize(const std::string& bytes) {
    std::size_t end = 0;
    for (int i = 0; i < tesra::kStoreLines; ++i) end = bytes.find('\n', end) + 1;
    return end;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tesra::PatternStore store =
        tesra::ParsePatternStore({reinterpret_cast<const char*>(data), size});
    const std::string saved = tesra::SerializePatternStore(store);
    if (tesra::SerializePatternStore(tesra::ParsePatternStore(saved)) != saved) std::abort();
    const std::string old = saved.substr(0, First113LinesSize(saved));
    if (tesra::SerializePatternStore(tesra::ParsePatternStore(old)) != old) std::abort();
    return 0;
}
