// Every shipped symbol draws, in the pens it names, along clicked points.
#include <gtest/gtest.h>

#include <string>

#include "app/run.h"
#include "exchange/line_sink.h"
#include "exchange/reader.h"
#include "settings/symbol_library.h"
#include "test_support.h"

namespace tesra {
namespace {

TEST(ShippedSymbols, EachDrawsElementsInItsOwnPens) {
    const SymbolLibrary lib = LoadSymbolLibrary(TESRA_SHIPPED_SYMBOLS);
    ASSERT_GE(lib.symbols.size(), 12u);
    for (const Symbol& s : lib.symbols) {
        SCOPED_TRACE(s.name);
        RunContext run;
        ResetExchangeState(run.exchange);
        ReadExchangeBytes(
            run.exchange,
            "hq\r\nhp1 0 0\r\nhp2 40 0\r\nhp3 40 30\r\nlg0\r\nly0\r\nlc2\r\nlt1\r\n#\r\n");
        run.store.rows[0] = s.row;
        run.store.selectedRow = 1;
        VectorSink sink;
        DrawPattern(run, RunMode::Chain, sink);
        int elements = 0;
        std::string pens;
        for (const std::string& line : sink.lines) {
            if (line.starts_with("lc") || line.starts_with("lt"))
                pens += line + ' ';
            else if (!line.starts_with("l") && !line.starts_with("h"))
                ++elements;
        }
        EXPECT_GT(elements, 0);
        for (const RowPart part : {RowPart::Figures, RowPart::Middle}) {
            const RowPen pen = PenOf(s.row, part);
            if (pen.color != kCurrentPen) {
                EXPECT_NE(pens.find("lc" + std::to_string(pen.color) + ' '), std::string::npos);
            }
            if (pen.lineType != kCurrentPen) {
                EXPECT_NE(pens.find("lt" + std::to_string(pen.lineType) + ' '), std::string::npos);
            }
        }
    }
}

}  // namespace
}  // namespace tesra
