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
#include "sdk/archive_pack.h"
#include "sdk/archive_tools.h"
#include "sdk/command_line.h"

namespace tova::sdk {
namespace {

constexpr const char* kUsage =
    "usage: tova COMMAND [ARGS]\n"
    "  pack [--version 0|100|101|102] [--ext] [--append-to EXE] OUT DIR\n"
    "                              pack every file below DIR into the archive OUT\n"
    "  list ARCHIVE                one line per entry: name, stored size, stored|zlib, CRC-32\n"
    "  extract ARCHIVE DIR         write every entry below DIR\n"
    "  cat ARCHIVE NAME            write one entry to standard output\n"
    "  verify ARCHIVE              check every entry's CRC\n"
    "options of every archive command:\n"
    "  --part-size BYTES           the size of the parts of split archives (default 1 GiB)\n";

int64_t PartSize(const TCommandLine& line) {
    const auto value = line.Value("--part-size");
    if (!value) return kBigFilePartSize;
    const long long size = ParseCount("--part-size", *value);
    if (size < 1) throw EUsage("--part-size must be at least 1");
    return size;
}

int Pack(const std::vector<std::string>& args) {
    const TCommandLine line(args, {"--ext"}, {"--version", "--append-to", "--part-size"});
    line.ExpectOperands(2);
    TPackOptions options;
    options.out = line.Operands()[0];
    options.dir = line.Operands()[1];
    options.separateDirectory = line.Has("--ext");
    options.appendTo = line.Value("--append-to");
    options.partSize = PartSize(line);
    if (const auto version = line.Value("--version")) {
        options.version = static_cast<int>(ParseCount("--version", *version));
        if (options.version != 0 && options.version != 100 && options.version != 101 && options.version != 102)
            throw EUsage("--version must be 0, 100, 101 or 102");
    }
    if (options.separateDirectory && options.appendTo) throw EUsage("--ext and --append-to exclude each other");
    PackDirectory(options);
    return 0;
}

int List(const std::vector<std::string>& args) {
    const TCommandLine line(args, {}, {"--part-size"});
    line.ExpectOperands(1);
    ListArchive(*OpenToolArchive(line.Operands()[0], PartSize(line)), std::cout);
    return 0;
}

int Extract(const std::vector<std::string>& args) {
    const TCommandLine line(args, {}, {"--part-size"});
    line.ExpectOperands(2);
    ExtractArchive(*OpenToolArchive(line.Operands()[0], PartSize(line)), line.Operands()[1]);
    return 0;
}

int Cat(const std::vector<std::string>& args) {
    const TCommandLine line(args, {}, {"--part-size"});
    line.ExpectOperands(2);
    CatEntry(*OpenToolArchive(line.Operands()[0], PartSize(line)), Utf8ToCp932(line.Operands()[1]), std::cout);
    return 0;
}

int Verify(const std::vector<std::string>& args) {
    const TCommandLine line(args, {}, {"--part-size"});
    line.ExpectOperands(1);
    const int bad = VerifyArchive(*OpenToolArchive(line.Operands()[0], PartSize(line)), std::cout);
    if (bad > 0) std::cerr << "tova: " << bad << " bad entr" << (bad == 1 ? "y" : "ies") << "\n";
    return bad > 0 ? 1 : 0;
}

int Run(int argc, char** argv) {
    const std::map<std::string, int (*)(const std::vector<std::string>&)> commands{
        {"pack", Pack}, {"list", List}, {"extract", Extract}, {"cat", Cat}, {"verify", Verify}};
    if (argc < 2) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "help") {
        std::cout << kUsage;
        return 0;
    }
    const auto command = commands.find(name);
    if (command == commands.end()) {
        std::cerr << "tova: unknown command '" << name << "'\n" << kUsage;
        return 2;
    }
    try {
        return command->second(std::vector<std::string>(argv + 2, argv + argc));
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
