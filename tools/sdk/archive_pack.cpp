#include "sdk/archive_pack.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "core/binary_io.h"
#include "core/encoding.h"
#include "core/error.h"
#include "core/path_names.h"
#include "core/sjis.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"
#include "vfs/file_collection.h"

namespace fs = std::filesystem;

namespace tova::sdk {

namespace {

// The path below the folder, made without asking the file system: names
// are what the folder's listing says, so a link never turns into the path
// of what it points to.
fs::path LexicalPath(const std::string& hostPath) {
    return fs::absolute(hostPath).lexically_normal();
}

}  // namespace

std::vector<std::string> CollectPackNames(const std::string& hostDir,
                                          const std::vector<std::string>& skipHostPaths, bool followLinks,
                                          std::ostream* warnings) {
    std::error_code error;
    if (!fs::is_directory(hostDir, error)) throw ETovaError("'" + hostDir + "' is not a folder");
    const fs::path root = LexicalPath(hostDir);
    std::vector<fs::path> skip;
    for (const std::string& path : skipHostPaths)
        skip.push_back(LexicalPath(path).lexically_relative(root));

    std::vector<std::string> names;
    const auto walkOptions =
        followLinks ? fs::directory_options::follow_directory_symlink : fs::directory_options::none;
    for (auto it = fs::recursive_directory_iterator(root, walkOptions);
         it != fs::recursive_directory_iterator(); ++it) {
        // The listing's own type: no stat unless the file system leaves it out.
        const fs::file_status own = it->symlink_status();
        if (fs::is_symlink(own)) {
            if (!followLinks) {
                if (warnings) *warnings << "tova: skipping the link '" << it->path().string() << "'\n";
                continue;
            }
            if (!it->is_regular_file()) continue;
        } else if (!fs::is_regular_file(own)) {
            continue;
        }
        const fs::path relative = it->path().lexically_relative(root);
        if (std::find(skip.begin(), skip.end(), relative) != skip.end()) continue;
        std::string name;
        for (const fs::path& component : relative) {
            if (!name.empty()) name += '\\';
            try {
                name += Utf8ToCp932(component.string());
            } catch (const ETovaError&) {
                throw ETovaError(Utf8ToCp932Lossy("the name '" + it->path().string() +
                                                  "' cannot be written in code page 932"));
            }
        }
        names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    std::map<std::string, const std::string*> folded;
    for (const std::string& name : names) {
        const auto [it, added] = folded.emplace(SjisLowerCase(name), &name);
        if (!added)
            throw ETovaError("'" + Cp932ToUtf8(*it->second) + "' and '" + Cp932ToUtf8(name) +
                             "' differ only in case; the player could not tell them apart");
    }
    return names;
}

namespace {

std::string ProgramPath(const std::string& hostPath) {
    return FromHostPath(hostPath);
}

// Removes a split file's parts.
void RemoveParts(const std::string& path) {
    for (int part = 0; FileExists(TTpBigFileStream::PartName(path, part)); ++part)
        DeleteFileAt(TTpBigFileStream::PartName(path, part));
}

void WriteArchive(const TPackOptions& options, TVrFileCollection& collection, TTpBigStream& out) {
    TVrFileCollection::TSaveOptions save;
    save.version = options.version;
    save.separateDirectory = options.separateDirectory;
    collection.SaveToStream(out, save);
}

void Pack(const TPackOptions& options, const std::vector<std::string>& names) {
    TVrFileCollection collection(options.partSize);
    collection.BaseDir = IncludeTrailingDelimiter(ProgramPath(options.dir));
    for (const std::string& name : names)
        collection.AddFile(name);
    const std::string out = ProgramPath(options.out);

    if (options.separateDirectory) {
        // The writer puts the directory first; it is split off into the
        // ".ext" file and the data copied on into the data file. The whole
        // archive goes to new files of a fresh name (its parts too), so no
        // link standing beside OUT is written through.
        const std::string whole = TemporaryName(out);
        try {
            int64_t tablesEnd = 0;
            {
                TTpBigFileStream stream(whole, fmCreateNew, options.partSize);
                WriteArchive(options, collection, stream);
                tablesEnd = stream.GetPosition();
            }
            TTpBigFileStream stream(whole, fmOpenRead, options.partSize);
            TFileStream directory(ChangeFileExt(out, ".ext"), fmCreate);
            stream.SetPosition(0);
            stream.CopyTo(directory, tablesEnd);
            TTpBigFileStream data(out, fmCreate, options.partSize);
            stream.CopyTo(data, stream.GetSize() - tablesEnd);
        } catch (...) {
            RemoveParts(whole);
            throw;
        }
        RemoveParts(whole);
        return;
    }

    TTpBigFileStream stream(out, fmCreate, options.partSize);
    int64_t start = 0;
    if (options.appendTo) {
        TFileStream exe(ProgramPath(*options.appendTo), fmOpenRead | fmShareDenyWrite);
        stream.CopyFrom(exe, 0);
        start = stream.GetPosition();
        if (start > INT32_MAX) throw ETovaError("the executable is too large to carry an archive");
    }
    WriteArchive(options, collection, stream);
    if (options.appendTo) {
        stream.SetPosition(stream.GetSize());
        WriteI32(stream, static_cast<int32_t>(start));
        stream.WriteBuffer("tz", 2);
    }
}

void RemoveOutput(const TPackOptions& options) {
    const std::string out = ProgramPath(options.out);
    RemoveParts(out);
    if (options.separateDirectory) DeleteFileAt(ChangeFileExt(out, ".ext"));
}

}  // namespace

void PackDirectory(const TPackOptions& options) {
    std::vector<std::string> skip{options.out};
    if (options.separateDirectory)
        skip.push_back(ToHostPath(ChangeFileExt(ProgramPath(options.out), ".ext")));
    const std::vector<std::string> names =
        CollectPackNames(options.dir, skip, options.followLinks, options.warnings);
    try {
        Pack(options, names);
    } catch (...) {
        RemoveOutput(options);
        throw;
    }
}

}  // namespace tova::sdk
