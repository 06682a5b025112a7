// Where the running program lies: its own path, and whether the file system
// that holds it is a CD-ROM's (iso9660 or udf), from which the player refuses
// to run.
#pragma once

#include <string>
#include <string_view>

namespace tova {

// The host path of the running executable (/proc/self/exe); empty when the
// system does not tell.
std::string ExecutableHostPath();

// The type of the file system that holds an absolute host path: the mount
// point of the mounts table (the format of /proc/self/mounts) that is the
// longest leading folder of the path. Empty when no mount point contains it.
std::string MountTypeOf(std::string_view hostPath, std::string_view mountsTable);

// Whether that type is a CD-ROM's.
bool IsCdRomFileSystem(std::string_view fsType);

// Whether the host path lies on a mounted CD-ROM file system, by /proc/self/mounts.
bool LiesOnCdRom(std::string_view hostPath);

}  // namespace tova
