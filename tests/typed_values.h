#pragma once
// Texts a user types in an edit box, or a hand puts in the store, and the
// value each becomes: the same for the store's reader and the dialog's
// read-back, which both tests run over this one table.

#include <stdexcept>
#include <string>
#include <string_view>

#include "settings/row_settings.h"

namespace tesra::test {

struct TypedValueCase {
    std::string_view control;  // a row column's prefix, or a settings area box
    std::string_view typed;    // as typed (UTF-8); the store file holds it in CP932
    std::string_view stored;   // the value as the store writes it
    bool noted;                // stored otherwise than typed: the dialog says so
};

// clang-format off
inline constexpr TypedValueCase kTypedValueCases[] = {
    //  box                typed              stored      noted
    {"EditW",           "0",               "1",        true},
    {"EditW",           "-5",              "1",        true},
    {"EditW",           "abc",             "1",        true},
    {"EditW",           "",                "1",        true},
    {"EditW",           "1e-8",            "1",        true},
    {"EditW",           "0.000000001",     "1",        true},
    {"EditW",           "1.000000000000001e-8", "1",   true},
    {"EditW",           "2.50",            "2.5",      false},
    {"EditW",           " 7",              "7",        false},
    {"EditW",           "１２．５",        "12.5",     false},
    {"EditW",           "1,5",             "1.5",      false},
    {"EditW",           "1,000.5",         "1000.5",   false},
    {"EditW",           "0,001",           "0.001",    false},
    {"EditW",           "1,5,5",           "1",        true},
    {"EditW",           "1234567890123",   "100000000",  true},
    {"EditH",           "1e300",           "100000000",  true},
    {"EditH",           "1e400",           "100000000",  true},
    {"EditH",           "－３",            "1",        true},
    {"EditH",           "＋０．２５",      "0.25",     false},
    {"EditD",           "-2",              "0",        true},
    {"EditD",           "x",               "0",        true},
    {"EditD",           "0",               "0",        false},
    {"EditD",           "1e-300",          "1E-300",   false},
    {"EditD",           "０，２５",        "0.25",     false},
    {"EditPitch",       "0",               "2",        true},
    {"EditPitch",       "1e9",             "100000000",  true},
    {"EditPitch",       "2.5",             "2.5",      false},
    {"EditTickLength",  "x",               "5",        true},
    {"EditTickLength",  "３",              "3",        false},
    {"EditWB",          "-1",              "10",       true},
    {"EditWB",          "0,75",            "0.75",     false},
    {"EditHB",          "0.5",             "0.5",      false},
    {"EditShortRatio",  "7",               "0.5",      true},
    {"EditShortRatio",  "0",               "0.5",      true},
    {"EditShortRatio",  "1",               "1",        false},
    {"EditShortRatio",  "0,25",            "0.25",     false},
    {"EditRhythm",      "LXS",             "LS",       true},
    {"EditRhythm",      "ｌｓｓ",          "LSS",      false},
    {"EditRhythm",      "LSLSLSLSL",       "LS",       true},
    {"EditSequence",    "ABC",             "",         true},
    {"EditSequence",    "aab",             "AAB",      false},
};
// clang-format on

inline const RowSetting& SettingOfBox(std::string_view control) {
    for (const RowSetting& s : kRowSettings)
        if (s.control == control) return s;
    throw std::logic_error("no setting shows in " + std::string(control));
}

}  // namespace tesra::test
