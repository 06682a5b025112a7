#include "shell/program_entry.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "core/encoding.h"
#include "core/error.h"
#include "core/path_names.h"
#include "core/sjis.h"
#include "engine/data_mount.h"
#include "engine/project.h"
#include "expr/db_manager.h"
#include "expr/param_collection.h"
#include "graphics/image_depth_flag.h"
#include "platform/executable_path.h"
#include "platform/file_system.h"
#include "platform/instance_lock.h"
#include "platform/message_box.h"
#include "text/read_list.h"
#include "vfs/file_manager.h"

namespace tova {
namespace {

constexpr const char* kUsage =
    "usage: tovaplayer [--headless] [DATA_FOLDER_OR_ARCHIVE...]\n"
    "  without parameters the game data is looked for beside the player\n"
    "  /config          the configuration dialog\n"
    "  --headless       run without a window\n"
    "  --help           this text\n";

// Loads the project on the mounted data and ends it again; the window and
// the frame loop take over between the two once they exist.
int RunProject(const std::string& executablePath, const std::vector<std::string>& parameters,
               std::ostream& out, std::ostream& err) {
    THeadlessMessageBox messageBox;
    TVrFileManagerOptions fileOptions;
    fileOptions.messageBox = &messageBox;
    fileOptions.maxDiscRequests = 1;  // no one is at the screen to insert a disc
    TVrFileManager files(std::move(fileOptions));
    TParamCollection variables;
    TTovaReadList readList;
    TImageDepthFlag imageDepth;
    TDBManager database;
    TRunFlags flags;

    MountGameData(files, executablePath, parameters);
    TProjectEnvironment environment;
    environment.ExecutablePath = executablePath;
    environment.Parameters = parameters;
    environment.Files = &files;
    environment.Variables = &variables;
    environment.MessageBox = &messageBox;
    environment.Flags = &flags;
    environment.ReadList = &readList;
    environment.ImageDepth = &imageDepth;
    environment.Database = &database;
    environment.MaxDiscRequests = 1;
    environment.Trace = &err;
    TProject project(std::move(environment));
    if (flags.Stop) {
        err << "tovaplayer: the project could not start\n";
        return 1;
    }
    out << "tovaplayer: " << Cp932ToUtf8(project.Title) << " started at " << Cp932ToUtf8(project.StartPage)
        << "\n";
    out.flush();
    return 0;
}

}  // namespace

TPlayerArguments SplitPlayerArguments(const std::vector<std::string>& args) {
    TPlayerArguments result;
    for (const std::string& arg : args) {
        if (!arg.starts_with("--")) {
            result.Parameters.push_back(FromHostPath(arg));
        } else if (arg == "--help") {
            result.Help = true;
        } else if (arg == "--headless") {
            result.Headless = true;
        } else {
            throw ETovaError("unknown option " + arg);
        }
    }
    return result;
}

std::string InstanceKey(std::string_view dataFolder) {
    std::string key = SjisUpperCase(dataFolder);
    bool endsWithDelimiter = false;
    ForEachSjisChar(key, [&](uint16_t code, size_t pos, size_t length) {
        if (length == 1 && code == '\\') key[pos] = '-';
        endsWithDelimiter = length == 1 && code == '\\';
    });
    if (!endsWithDelimiter) key.push_back('-');
    return key;
}

std::string InstanceFolder(std::string_view programFolder) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(ToHostPath(programFolder), error);
    if (error) path = ToHostPath(programFolder);
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
    std::string host = (error ? path.lexically_normal() : canonical).string();
    while (host.size() > 1 && host.back() == '/')
        host.pop_back();
    std::string folder = FromHostPath(host);
    for (char& c : folder)
        if (c == '/') c = '\\';
    return folder;
}

int RunPlayer(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::string executableHost = ExecutableHostPath();
    if (executableHost.empty()) {
        err << "tovaplayer: the system does not tell where the player lies\n";
        return 1;
    }
    if (LiesOnCdRom(executableHost)) return 0;

    TPlayerArguments arguments;
    try {
        arguments = SplitPlayerArguments(args);
    } catch (const ETovaError& e) {
        err << "tovaplayer: " << e.what() << "\n" << kUsage;
        return 2;
    }
    if (arguments.Help) {
        out << kUsage;
        return 0;
    }
    const std::vector<std::string>& parameters = arguments.Parameters;
    const std::string executablePath = FromHostPath(executableHost);

    const std::string dataFolder = parameters.empty() ? ExtractFilePath(executablePath) : parameters.front();
    std::unique_ptr<TInstanceLock> lock;
    try {
        lock = TInstanceLock::TryAcquire(InstanceKey(InstanceFolder(dataFolder)));
        if (!lock) return 0;  // another player runs on the same data
    } catch (const ETovaError& e) {
        err << "tovaplayer: running without the single-instance guard: " << e.what() << "\n";
    }

    if (!parameters.empty() && SjisSameText(parameters.front(), "/config")) {
        err << "tovaplayer: the configuration dialog is not available\n";
        return 0;
    }
    try {
        return RunProject(executablePath, parameters, out, err);
    } catch (const ETovaError& e) {
        err << "tovaplayer: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace tova
