// The output folder of a build. The build writes into a staging folder
// inside it and only a finished build is moved into place, so a failed build
// leaves the folder as it was. The files a build moved in are recorded in the
// folder's manifest; the next build removes those it does not write again,
// and leaves every file no build wrote (the player's save.dat) alone.
#pragma once

#include <filesystem>
#include <set>
#include <string>

namespace tova::sdk {

inline constexpr const char* kManifestName = ".tova-build";

class TBuildOutput {
public:
    // Creates the folder when it is missing. Throws ETovaError when it is not
    // empty and holds no earlier build, or its manifest names a path outside
    // it; nothing is changed then.
    explicit TBuildOutput(const std::filesystem::path& outDir);
    // Removes the staging folder, and the output folder when this build
    // created it and did not commit.
    ~TBuildOutput();
    TBuildOutput(const TBuildOutput&) = delete;
    TBuildOutput& operator=(const TBuildOutput&) = delete;

    // Where the game's files are built.
    const std::filesystem::path& DataDir() const { return dataDir_; }
    // Where the archive is packed (a file name in a folder of its own).
    std::filesystem::path PackFile() const { return packDir_ / "game.dat"; }

    // Moves the built files (the packed archive with its parts when packed,
    // else every file of DataDir) into the output folder, removes the files
    // of the earlier build that were not written again and records the new
    // ones.
    void Commit(bool packed);

private:
    void ReadManifest();
    void WriteManifest(const std::set<std::string>& paths) const;
    void RemoveStale(const std::set<std::string>& written) const;

    std::filesystem::path outDir_;
    std::filesystem::path stagingDir_;
    std::filesystem::path dataDir_;
    std::filesystem::path packDir_;
    std::set<std::string> previous_;  // relative host paths, '/' between folders
    bool createdOutDir_ = false;
    bool committed_ = false;
};

}  // namespace tova::sdk
