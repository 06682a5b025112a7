// tova: the SDK tool that writes and inspects the player's data formats.
// Exit codes: 0 success, 1 bad data (with a message on standard error),
// 2 a wrong command line.
#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "core/encoding.h"
#include "core/error.h"
#include "sdk/command_line.h"
#include "sdk/commands.h"

namespace tova::sdk {
namespace {

constexpr const char* kUsage =
    "usage: tova COMMAND [ARGS]     (tova --version; tova COMMAND --help)\n"
    "  pack [--version 0|100|101|102] [--ext] [--append-to EXE] OUT DIR\n"
    "                              pack every file below DIR into the archive OUT\n"
    "  list ARCHIVE                one line per entry: name, stored size, stored|zlib, CRC-32\n"
    "  extract ARCHIVE DIR         write every entry below DIR\n"
    "  cat ARCHIVE NAME            write one entry to standard output\n"
    "  verify ARCHIVE              check every entry's CRC\n"
    "  project FILE                the project settings (tova.tpb, or a data folder or archive holding one) "
    "as JSON\n"
    "  install-info FILE           the install set (install.dat) as JSON\n"
    "  expr TEXT                   compile an expression and print its records\n"
    "  eval [--var SPEC]... [--dump-vars FILE|-] TEXT\n"
    "                              compile and run an expression over fresh variables\n"
    "                              (--var x:int=5, s:str=abc, f:float=2.5, b:bool=TRUE, a:int[3,4];\n"
    "                              --seed N fixes the generator of Random)\n"
    "  compile SRC.tss OUT.tsb     compile a script page\n"
    "  decompile IN.tsb            print the script source of a page\n"
    "  build SRC_DIR OUT_DIR [--pack]\n"
    "                              build a game: compile every page, write the project and install set,\n"
    "                              copy the other files (--pack: into OUT_DIR/game.dat);\n"
    "                              refuses when lint finds an error (warnings are printed)\n"
    "  lint [--strict] SRC_DIR     every error and warning of a game's sources, without building\n"
    "                              (exit 1 when there is an error; --strict: or a warning)\n"
    "  img info FILE [--key K] [--archive ARCHIVE]\n"
    "                              a layered image's header, frames and layers as JSON\n"
    "  img decode FILE OUT.png [--key K] [--frame N] [--mask] [--archive ARCHIVE]\n"
    "                              one frame as the player loads it, as an RGBA PNG\n"
    "  img encode OUT.brz INPUT... | --desc DESC.json [--key K] [--compress zlib|none|jpeg]\n"
    "             [--quality Q] [--delay MS] [--version 100..106] [--tile WxH] [--bpp 8|24|32]\n"
    "                              write a layered image from PNG, BMP or JPEG pictures\n"
    "options are written --name VALUE or --name=VALUE\n"
    "options of every archive command:\n"
    "  --part-size BYTES           the size of the parts of split archives (default 1 GiB)\n";

int Run(int argc, char** argv) {
    const std::map<std::string, int (*)(const TArgs&)> commands{
        {"pack", RunPack},     {"list", RunList},       {"extract", RunExtract},          {"cat", RunCat},
        {"verify", RunVerify}, {"project", RunProject}, {"install-info", RunInstallInfo}, {"expr", RunExpr},
        {"eval", RunEval},     {"compile", RunCompile}, {"decompile", RunDecompile},      {"build", RunBuild},
        {"lint", RunLint},     {"img", RunImg}};
    if (argc < 2) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        std::cout << kUsage;
        return 0;
    }
    if (name == "--version") {
        std::cout << "tova " << TOVA_VERSION << "\n";
        return 0;
    }
    const auto command = commands.find(name);
    if (command == commands.end()) {
        std::cerr << "tova: unknown command '" << name << "'\n" << kUsage;
        return 2;
    }
    try {
        return command->second(std::vector<std::string>(argv + 2, argv + argc));
    } catch (const EHelpRequested&) {
        std::cout << kUsage;
        return 0;
    } catch (const EUsage& e) {
        std::cerr << "tova " << name << ": " << e.what() << "\n" << kUsage;
        return 2;
    } catch (const ETovaError& e) {
        std::cerr << "tova " << name << ": " << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "tova " << name << ": " << e.what() << "\n";
        return 1;
    }
}

}  // namespace
}  // namespace tova::sdk

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return tova::sdk::Run(argc, argv);
}
