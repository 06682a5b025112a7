#include "sdk/build_output.h"

#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <vector>

#include "core/encoding.h"
#include "core/error.h"

namespace fs = std::filesystem;

namespace tova::sdk {
namespace {

constexpr std::string_view kStagingPrefix = ".tova-build-";

[[noreturn]] void Fail(const std::string& utf8Message) {
    throw ETovaError(Utf8ToCp932Lossy(utf8Message));
}

bool IsStagingFolder(const fs::directory_entry& entry) {
    return entry.is_directory() && entry.path().filename().string().starts_with(kStagingPrefix);
}

// Whether path lies below folder (both canonical or weakly canonical).
bool IsBelow(const fs::path& path, const fs::path& folder) {
    const auto [f, p] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return f == folder.end() && p != path.end();
}

bool IsPlainRelative(const fs::path& path) {
    if (path.empty() || !path.is_relative()) return false;
    return std::none_of(path.begin(), path.end(),
                        [](const fs::path& part) { return part.empty() || part == "." || part == ".."; });
}

std::vector<std::string> FilesBelow(const fs::path& root) {
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files.push_back(entry.path().lexically_relative(root).generic_string());
    return files;
}

}  // namespace

TBuildOutput::TBuildOutput(const fs::path& outDir) {
    std::error_code error;
    if (fs::exists(outDir, error)) {
        if (!fs::is_directory(outDir, error)) Fail("'" + outDir.string() + "' is not a folder");
        outDir_ = fs::canonical(outDir);
        if (fs::exists(outDir_ / kManifestName)) {
            ReadManifest();
        } else if (std::any_of(fs::directory_iterator(outDir_), fs::directory_iterator(),
                               [](const fs::directory_entry& entry) { return !IsStagingFolder(entry); })) {
            Fail("'" + outDir.string() + "' is not empty and holds no earlier build (no " + kManifestName +
                 "); empty it or choose another folder");
        }
    } else {
        fs::create_directories(outDir);
        createdOutDir_ = true;
        outDir_ = fs::canonical(outDir);
    }
    std::string pattern = (outDir_ / kStagingPrefix).string() + "XXXXXX";
    if (!mkdtemp(pattern.data())) {
        if (createdOutDir_) fs::remove(outDir_, error);
        Fail("cannot create a staging folder in '" + outDir.string() + "'");
    }
    stagingDir_ = pattern;
    dataDir_ = stagingDir_ / "data";
    packDir_ = stagingDir_ / "pack";
    fs::create_directory(dataDir_, error);
    fs::create_directory(packDir_, error);
}

TBuildOutput::~TBuildOutput() {
    std::error_code error;
    fs::remove_all(stagingDir_, error);
    if (createdOutDir_ && !committed_) fs::remove(outDir_, error);
}

void TBuildOutput::ReadManifest() {
    const fs::path manifest = outDir_ / kManifestName;
    std::ifstream in(manifest, std::ios::binary);
    std::string line;
    for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
        if (line.ends_with('\r')) line.pop_back();
        if (line.empty() || line.front() == '#') continue;
        const fs::path relative(line);
        if (!IsPlainRelative(relative) || !IsBelow(fs::weakly_canonical(outDir_ / relative), outDir_))
            Fail(manifest.string() + ":" + std::to_string(lineNumber) + ": '" + line +
                 "' is not a file inside the folder; the manifest is damaged");
        previous_.insert(relative.generic_string());
    }
}

void TBuildOutput::WriteManifest(const std::set<std::string>& paths) const {
    const fs::path temporary = stagingDir_ / kManifestName;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << "# tova build: the files the last build wrote into this folder\n";
        for (const std::string& path : paths)
            out << path << '\n';
        if (!out.flush()) Fail("cannot write '" + temporary.string() + "'");
    }
    fs::rename(temporary, outDir_ / kManifestName);
}

void TBuildOutput::RemoveStale(const std::set<std::string>& written) const {
    for (const std::string& path : previous_) {
        if (written.count(path)) continue;
        fs::path target = outDir_ / path;
        const fs::file_status status = fs::symlink_status(target);
        if (!fs::is_regular_file(status) && !fs::is_symlink(status)) continue;
        fs::remove(target);
        // Folders that held only stale files go too.
        std::error_code error;
        for (target = target.parent_path(); target != outDir_ && fs::is_empty(target, error);
             target = target.parent_path())
            fs::remove(target, error);
    }
}

void TBuildOutput::Commit(bool packed) {
    const fs::path& root = packed ? packDir_ : dataDir_;
    const std::vector<std::string> files = FilesBelow(root);
    const std::set<std::string> written(files.begin(), files.end());
    try {
        // Recorded first, so that a commit cut short is still cleaned up by
        // the next build.
        std::set<std::string> both = previous_;
        both.insert(written.begin(), written.end());
        WriteManifest(both);
        RemoveStale(written);
        for (const std::string& path : files) {
            const fs::path target = outDir_ / path;
            fs::create_directories(target.parent_path());
            if (fs::is_directory(fs::symlink_status(target))) Fail("a folder stands where the file must go");
            fs::rename(root / path, target);
        }
        WriteManifest(written);
    } catch (const std::exception& e) {
        Fail("'" + outDir_.string() + "': the build could not be moved into place (" + e.what() +
             "); the folder is incomplete, build again");
    }
    committed_ = true;
}

}  // namespace tova::sdk
