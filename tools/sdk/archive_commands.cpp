// The archive commands: pack, list, extract, cat and verify.
#include <iostream>

#include "core/encoding.h"
#include "sdk/archive_extract.h"
#include "sdk/archive_pack.h"
#include "sdk/archive_tools.h"
#include "sdk/command_line.h"
#include "sdk/commands.h"

namespace tova::sdk {

namespace {

int64_t PartSize(const TCommandLine& line) {
    const auto value = line.Value("--part-size");
    if (!value) return kBigFilePartSize;
    const long long size = ParseCount("--part-size", *value);
    if (size < 1) throw EUsage("--part-size must be at least 1");
    return size;
}

}  // namespace

int RunPack(const TArgs& args) {
    const TCommandLine line(args, {"--ext", "--follow-links"}, {"--version", "--append-to", "--part-size"});
    line.ExpectOperands(2);
    TPackOptions options;
    options.out = line.Operands()[0];
    options.dir = line.Operands()[1];
    options.separateDirectory = line.Has("--ext");
    options.followLinks = line.Has("--follow-links");
    options.warnings = &std::cerr;
    options.appendTo = line.Value("--append-to");
    options.partSize = PartSize(line);
    if (const auto version = line.Value("--version")) {
        options.version = static_cast<int>(ParseCount("--version", *version));
        if (options.version != 0 && options.version != 100 && options.version != 101 &&
            options.version != 102)
            throw EUsage("--version must be 0, 100, 101 or 102");
    }
    if (options.separateDirectory && options.appendTo)
        throw EUsage("--ext and --append-to exclude each other");
    PackDirectory(options);
    return 0;
}

int RunList(const TArgs& args) {
    const TCommandLine line(args, {}, {"--part-size"});
    line.ExpectOperands(1);
    ListArchive(*OpenToolArchive(line.Operands()[0], PartSize(line)), std::cout);
    return 0;
}

int RunExtract(const TArgs& args) {
    const TCommandLine line(args, {}, {"--part-size", "--max-size"});
    line.ExpectOperands(2);
    TExtractOptions options;
    if (const auto maxSize = line.Value("--max-size")) options.maxBytes = ParseCount("--max-size", *maxSize);
    const int bad = ExtractArchive(*OpenToolArchive(line.Operands()[0], PartSize(line)), line.Operands()[1],
                                   options, std::cerr);
    if (bad > 0)
        std::cerr << "tova: " << bad << " bad entr" << (bad == 1 ? "y" : "ies") << " not extracted\n";
    return bad > 0 ? 1 : 0;
}

int RunCat(const TArgs& args) {
    const TCommandLine line(args, {}, {"--part-size"});
    line.ExpectOperands(2);
    CatEntry(*OpenToolArchive(line.Operands()[0], PartSize(line)), Utf8ToCp932(line.Operands()[1]),
             std::cout);
    return 0;
}

int RunVerify(const TArgs& args) {
    const TCommandLine line(args, {}, {"--part-size"});
    line.ExpectOperands(1);
    const int bad = VerifyArchive(*OpenToolArchive(line.Operands()[0], PartSize(line)), std::cout);
    if (bad > 0) std::cerr << "tova: " << bad << " bad entr" << (bad == 1 ? "y" : "ies") << "\n";
    return bad > 0 ? 1 : 0;
}

}  // namespace tova::sdk
