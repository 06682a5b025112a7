// tovaplayer: runs a game from its data folder or archives.
#include <iostream>
#include <string>
#include <vector>

#include "shell/program_entry.h"

int main(int argc, char** argv) {
    return tova::RunPlayer(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
