// A game the benchmarks write into a temporary folder and open as the
// player would: the project settings (title, size, start page), the pages
// and other files; removed with the object.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/stream.h"
#include "engine/page.h"
#include "engine/player.h"
#include "engine/project_setting.h"
#include "platform/file_system.h"
#include "platform/message_box.h"

namespace tova {

class TBenchGame {
public:
    TBenchGame(int32_t width, int32_t height) {
        char pattern[] = "/tmp/tova-bench-XXXXXX";
        folder_ = mkdtemp(pattern);
        TProjectSetting setting;
        setting.Title = "bench";
        setting.Width = width;
        setting.Height = height;
        setting.StartPage = "start.tsb";
        TTpMemoryStream settings;
        setting.SaveToStream(settings);
        Write("tova.tpb", settings);
    }
    ~TBenchGame() { std::filesystem::remove_all(folder_); }
    TBenchGame(const TBenchGame&) = delete;
    TBenchGame& operator=(const TBenchGame&) = delete;

    const std::string& Folder() const { return folder_; }
    void Write(const std::string& name, const void* data, size_t size) const {
        std::ofstream out(folder_ + "/" + name, std::ios::binary | std::ios::trunc);
        out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    void Write(const std::string& name, const TTpMemoryStream& stream) const {
        Write(name, stream.Bytes().data(), stream.Bytes().size());
    }
    // The page, written under its name ("start.tsb" is the one the game starts on).
    void Write(const TPage& page) const {
        TTpMemoryStream bytes;
        page.SaveToStream(bytes);
        Write(page.Name, bytes);
    }

    // A player on the game, started but before its first frame.
    std::unique_ptr<TPlayer> Open() {
        TPlayerOptions options;
        options.ExecutablePath = "/nowhere/player";
        options.Parameters = {FromHostPath(folder_)};
        options.DataFolder = ResolveDataFolder(options.ExecutablePath, options.Parameters);
        options.MessageBox = &messageBox_;
        return TPlayer::Open(options);
    }

private:
    std::string folder_;
    THeadlessMessageBox messageBox_;
};

}  // namespace tova
