// A whole drawing run in memory, in every drawing mode, and a registration of
// the selection as an own figure, which is then drawn: the input is a store
// and an exchange file, split at the first "\n%%\n" (no marker: the whole
// input is the exchange file and the store is missing). Every line the writer
// produces must be a valid command line; the run aborts on the first that is
// not.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "app/run.h"
#include "app/run_register.h"
#include "exchange/reader.h"
#include "tests/command_grammar.h"

namespace {

class CheckingSink final : public tesra::LineSink {
public:
    explicit CheckingSink(tesra::grammar::Vocabulary vocabulary) : vocabulary_(vocabulary) {}

    void Append(std::string_view line) override {
        if (!tesra::grammar::IsCommandLine(line, vocabulary_)) Fail("invalid line", line);
        if (message_) Fail("a line after the message", line);
        if (notice_) Fail("a line after the notice", line);
        if (tesra::grammar::IsMessageLine(line) && lines_ > 0) Fail("message after lines", line);
        message_ = tesra::grammar::IsMessageLine(line);
        notice_ = tesra::grammar::IsNoticeLine(line);
        ++lines_;
    }

private:
    [[noreturn]] static void Fail(const char* what, std::string_view line) {
        std::fprintf(stderr, "%s: %.*s\n", what,
                     static_cast<int>(line.size() > 200 ? 200 : line.size()), line.data());
        std::abort();
    }

    tesra::grammar::Vocabulary vocabulary_;
    std::size_t lines_ = 0;
    bool message_ = false;
    bool notice_ = false;
};

// The rows as the store says, or all drawn as slope rows or with their
// figures bent, whatever it says, so that the slope ticks and the bent
// figures meet every input too.
enum class Rows { AsStored, AsSlope, Bent };

void Draw(tesra::RunMode mode, std::optional<std::string_view> store, std::string_view exchange,
          Rows rows = Rows::AsStored) {
    tesra::RunContext run;
    tesra::ResetExchangeState(run.exchange);
    tesra::ReadExchangeBytes(run.exchange, exchange);
    // A missing store gives the defaults, an empty one zeros.
    run.store = store ? tesra::ParsePatternStore(*store) : tesra::PatternStore{};
    for (tesra::PatternRow& row : run.store.rows) {
        if (rows == Rows::AsSlope) row.rowKind = tesra::kRowSlope;
        if (rows == Rows::Bent) row.bend = tesra::kBendAlong;
    }
    // Only the runs over selected elements write the selection back.
    const bool selection =
        mode == tesra::RunMode::AlongSelection || mode == tesra::RunMode::SlopeBetween;
    CheckingSink sink(selection ? tesra::grammar::Vocabulary::WithWriteBack
                                : tesra::grammar::Vocabulary::Drawing);
    tesra::DrawPattern(run, mode, sink);
}

// The selection registered into an empty library; the row in use then draws
// the new figure between two points and along the selection.
void Register(std::optional<std::string_view> store, std::string_view exchange) {
    tesra::RunContext run;
    tesra::ResetExchangeState(run.exchange);
    tesra::ReadExchangeBytes(run.exchange, exchange);
    run.store = store ? tesra::ParsePatternStore(*store) : tesra::PatternStore{};
    tesra::FigureLibrary library;
    const tesra::Registration r = tesra::RegisterSelection(run.exchange, library);
    CheckingSink sink(tesra::grammar::Vocabulary::WithWriteBack);
    tesra::WriteRegistration(run.exchange, r, sink);
    if (r.outcome != tesra::RegisterOutcome::Registered) return;
    const tesra::FigureLibrary saved =
        tesra::ParseFigureLibrary(tesra::SerializeFigureLibrary(library));
    if (saved.set.figures != library.set.figures) std::abort();
    run.ownFigures = library.set;
    const int row =
        run.store.selectedRow >= 1 && run.store.selectedRow <= 12 ? run.store.selectedRow : 1;
    run.store.selectedRow = row;
    run.store.rows[static_cast<std::size_t>(row - 1)].figureKind = r.kind;
    CheckingSink drawing(tesra::grammar::Vocabulary::Drawing);
    tesra::DrawPattern(run, tesra::RunMode::TwoPoints, drawing);
    CheckingSink along(tesra::grammar::Vocabulary::WithWriteBack);
    tesra::DrawPattern(run, tesra::RunMode::AlongSelection, along);
    run.store.rows[static_cast<std::size_t>(row - 1)].bend = tesra::kBendAlong;
    CheckingSink bent(tesra::grammar::Vocabulary::WithWriteBack);
    tesra::DrawPattern(run, tesra::RunMode::AlongSelection, bent);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    constexpr std::string_view kMarker = "\n%%\n";
    const std::size_t split = input.find(kMarker);
    std::optional<std::string_view> store;
    if (split != std::string_view::npos) store = input.substr(0, split);
    const std::string_view exchange =
        split == std::string_view::npos ? input : input.substr(split + kMarker.size());
    Draw(tesra::RunMode::TwoPoints, store, exchange);
    Draw(tesra::RunMode::Chain, store, exchange);
    Draw(tesra::RunMode::AlongSelection, store, exchange);
    Draw(tesra::RunMode::SlopeBetween, store, exchange);
    Draw(tesra::RunMode::SlopeBetween, store, exchange, Rows::AsSlope);
    Draw(tesra::RunMode::Chain, store, exchange, Rows::AsSlope);
    Draw(tesra::RunMode::AlongSelection, store, exchange, Rows::Bent);
    Register(store, exchange);
    return 0;
}
