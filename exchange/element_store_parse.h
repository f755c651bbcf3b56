#pragma once
// Between the exchange reader and the element store: the element lines, one
// store function per form. The reader's rule table matches keyword and token
// count and calls them; each takes its header from the state as it is now.

#include "exchange/exchange_state.h"
#include "exchange/line_tokens.h"

namespace tesra {

void StoreCircleLine(ExchangeState& s, const LineTokens& t);         // "ci", 4 tokens
void StoreArcLine(ExchangeState& s, const LineTokens& t);            // "ci", 8 or more
void StoreTextLine(ExchangeState& s, const LineTokens& t);           // "ch" … "c2", 6 or more
void StorePointLine(ExchangeState& s, const LineTokens& t);          // "pt", 3
void StorePointWithDataLine(ExchangeState& s, const LineTokens& t);  // "pt", 6 or more
void StoreBlockLine(ExchangeState& s, const LineTokens& t);          // "BL", 4 or more
void StoreSolid2Line(ExchangeState& s, const LineTokens& t);         // "sl", 5
void StoreSolid3Line(ExchangeState& s, const LineTokens& t);         // "sl", 7
void StoreSolid4Line(ExchangeState& s, const LineTokens& t);         // "sl", 9 or more
void StoreValueSolidLine(ExchangeState& s, const LineTokens& t);  // "sc" "se" "so" "sg", 9 or more
// Any line of 4 tokens no keyword claimed: token 0 is the first number.
void StorePlainLine(ExchangeState& s, const LineTokens& t);

}  // namespace tesra
