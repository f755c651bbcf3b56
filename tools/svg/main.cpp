// tesra-svg: shows what a drawing run drew (tesra-svg --help says how).

#include <iostream>
#include <string_view>
#include <vector>

#include "tools/svg/command.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return tesra::svg::RunSvgCommand(args, std::cout, std::cerr);
}
