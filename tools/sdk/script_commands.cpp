// tova compile and tova decompile.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "core/encoding.h"
#include "core/error.h"
#include "engine/page.h"
#include "sdk/command_line.h"
#include "sdk/commands.h"
#include "sdk/script_compiler.h"

namespace tova::sdk {
namespace {

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw ETovaError::Format("%s: cannot be read", {Utf8ToCp932Lossy(path)});
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

int RunCompile(const TArgs& args) {
    const TCommandLine line(args, {}, {});
    line.ExpectOperands(2);
    const std::string& sourcePath = line.Operands()[0];
    const std::string& outPath = line.Operands()[1];
    TPage page;
    CompileScript(ReadWholeFile(sourcePath), sourcePath, page);
    TTpMemoryStream bytes;
    page.SaveToStream(bytes);
    std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.Bytes().data()),
              static_cast<std::streamsize>(bytes.Bytes().size()));
    if (!out.flush()) throw ETovaError::Format("%s: cannot be written", {Utf8ToCp932Lossy(outPath)});
    return 0;
}

int RunDecompile(const TArgs& args) {
    const TCommandLine line(args, {}, {});
    line.ExpectOperands(1);
    const std::string& path = line.Operands()[0];
    const std::string content = ReadWholeFile(path);
    TTpMemoryStream stream(std::vector<uint8_t>(content.begin(), content.end()));
    TPage page;
    // The file's own name, so that jumps into this page print their labels.
    page.Name = Utf8ToCp932Lossy(std::filesystem::path(path).filename().string());
    page.LoadFromStream(stream);
    // The player reads any file as a page, and one whose version it does not
    // know holds no commands; the decompiler is asked about one file, so it
    // says when that file is no page at all.
    if (page.Version < TPage::kOldestVersion || page.Version > TPage::kNewestVersion)
        throw ETovaError(Utf8ToCp932Lossy(
            "'" + path + "' is not a script page the player reads: its version " +
            std::to_string(page.Version) + " is not " + std::to_string(TPage::kOldestVersion) + " to " +
            std::to_string(TPage::kNewestVersion)));
    if (stream.Remaining() > 0)
        throw ETovaError(Utf8ToCp932Lossy(
            "'" + path + "' is not a whole script page: " + std::to_string(stream.Remaining()) +
            " bytes follow its last command"));
    std::cout << DecompileScript(page);
    return 0;
}

}  // namespace tova::sdk
