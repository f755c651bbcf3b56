#pragma once
// The command line of tesra-svg, apart from main so that what it writes and
// the status it ends with can be checked in-process.

#include <iosfwd>
#include <span>
#include <string_view>

namespace tesra::svg {

inline constexpr int kExitWritten = 0;
inline constexpr int kExitFileError = 1;  // an input unreadable, or the picture not written
inline constexpr int kExitUsage = 2;

// args without the program's name; the help goes to out, every complaint to err.
int RunSvgCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

}  // namespace tesra::svg
