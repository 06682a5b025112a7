// Where the player's image cache finds its pictures: a name exists when the
// project finds it (the mounted data, or a data disc it may ask for), and the
// file is read through the virtual file system.
#pragma once

#include "engine/project.h"
#include "graphics/brio_collection.h"
#include "vfs/file_manager.h"

namespace tova {

class TProjectImageSource final : public TImageFileSource {
public:
    TProjectImageSource(TProject& project, TVrFileManager& files) : project_(project), files_(files) {}
    bool Exists(std::string_view name) override { return project_.PageExists(name); }
    void Load(TStream& stream, std::string_view name) override { files_.LoadToStream(stream, name); }

private:
    TProject& project_;
    TVrFileManager& files_;
};

}  // namespace tova
