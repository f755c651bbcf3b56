#pragma once
// A drawing run whose write fails after every possible byte count of its
// output, so a test can check what each failure leaves for the host.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/run.h"
#include "exchange/atomic_file.h"
#include "test_support.h"

namespace tesra::test {

struct WriteFaultOutcome {
    std::int64_t failAfter = 0;
    bool complete = false;  // the fault came after the last byte
    int status = -1;
    std::optional<std::string> exchange;  // the exchange file afterwards, if any
    bool tempLeft = false;
};

struct WriteFaultSweep {
    std::string fullOutput;  // what the run writes without a fault
    std::vector<WriteFaultOutcome> outcomes;
};

// The exchange file is set back to `input` before every run.
inline WriteFaultSweep SweepWriteFaults(const RunPaths& paths, RunMode mode,
                                        const std::string& input) {
    WriteFaultSweep sweep;
    WriteBytes(paths.exchangeFile, input);
    if (RunDrawingMode(mode, paths) != 0) return sweep;
    sweep.fullOutput = ReadBytes(paths.exchangeFile);
    const auto size = static_cast<std::int64_t>(sweep.fullOutput.size());
    for (std::int64_t n = 0; n <= size + 1; ++n) {
        WriteBytes(paths.exchangeFile, input);
        WriteFaultOutcome o;
        o.failAfter = n;
        o.complete = n >= size;
        o.status = RunDrawingMode(mode, paths, WriteFaults{n});
        if (std::filesystem::exists(paths.exchangeFile)) o.exchange = ReadBytes(paths.exchangeFile);
        o.tempLeft = std::filesystem::exists(AtomicFile::TempPathFor(paths.exchangeFile));
        sweep.outcomes.push_back(o);
    }
    return sweep;
}

}  // namespace tesra::test
