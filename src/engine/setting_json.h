// JSON dumps of the project settings and the install set for the SDK's
// "tova project" and "tova install-info" commands. Strings are converted to
// UTF-8; the keys are those of the project description (project.ini), with
// "version" (the file's format version) and "reserved_114" added.
#pragma once

#include <string>

#include "engine/install_set.h"
#include "engine/project_setting.h"

namespace tova {

// Every field, one per line, ending with a newline.
std::string ProjectSettingToJson(const TProjectSetting& setting);

// version, title and data_installed, ending with a newline.
std::string InstallSetToJson(const TTovaInstallSet& installSet);

}  // namespace tova
