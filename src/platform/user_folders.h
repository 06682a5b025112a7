// The user's own folders on disk: the home folder, the XDG base folders for
// data and configuration, and the XDG user folders (documents, downloads,
// pictures, ...) that a desktop shows by name. Read from the environment,
// then from "user-dirs.dirs" in the configuration folder, then the usual
// defaults below the home folder. Paths are host paths without a trailing '/'.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tova {

enum class TUserFolder { Desktop, Documents, Download, Pictures, Music, Videos };

// $HOME when it is an absolute path; nullopt otherwise.
std::optional<std::string> HomeFolder();
// $HOME when it is an absolute path other than "/", names an existing folder
// and belongs to this user: the home that files may be written to on the
// user's behalf. nullopt otherwise.
std::optional<std::string> OwnHomeFolder();

// $XDG_CONFIG_HOME (absolute), else HOME/.config; nullopt without either.
std::optional<std::string> ConfigHome();
// $XDG_DATA_HOME (absolute), else HOME/.local/share; nullopt without either.
std::optional<std::string> DataHome();

// The folder's path: $XDG_<NAME>_DIR, else its line in user-dirs.dirs
// ("$HOME/..." or an absolute path), else HOME/<Default>. nullopt when no
// home is known, or when the folder resolves to the home folder itself or a
// folder above it (user-dirs.dirs points a disabled folder at the home).
std::optional<std::string> UserFolder(TUserFolder folder);

// Every user folder that resolves, in the order of TUserFolder.
std::vector<std::string> UserFolders();

}  // namespace tova
