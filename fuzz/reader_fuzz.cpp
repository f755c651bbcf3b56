// The exchange file reader over whole files of any bytes.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "exchange/reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tesra::ExchangeState state;
    tesra::ResetExchangeState(state);
    tesra::ReadExchangeBytes(state, {reinterpret_cast<const char*>(data), size});
    return 0;
}
