#pragma once
// Reads the host's exchange file into ExchangeState.

#include <filesystem>
#include <string_view>

#include "exchange/exchange_state.h"

namespace tesra {

// Every field to its initial value; empties the element store.
void ResetExchangeState(ExchangeState& state);

// Releases what a run read (element lists, tables) when the form closes.
void FreeExchangeState(ExchangeState& state);

// False when the file is missing or a read fails; what was read stands.
bool ReadExchangeFile(ExchangeState& state, const std::filesystem::path& path);

// The whole file's bytes, lines ended by CR LF or LF.
void ReadExchangeBytes(ExchangeState& state, std::string_view bytes);

// One line without its line end.
void ParseExchangeLine(ExchangeState& state, std::string_view line);

}  // namespace tesra
