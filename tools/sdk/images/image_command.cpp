// tova img info|decode|encode: inspecting layered images, decoding a frame as
// the player loads it into an RGBA PNG, and authoring layered images in
// every layout the player reads.
#include <algorithm>
#include <iostream>
#include <map>

#include "core/encoding.h"
#include "core/error.h"
#include "core/json_text.h"
#include "graphics/brio_image.h"
#include "sdk/command_line.h"
#include "sdk/commands.h"
#include "sdk/images/image_encode.h"
#include "sdk/images/image_files_io.h"

namespace tova::sdk {
namespace {

const char* CompressionName(TBrioCompression c) {
    switch (c) {
        case TBrioCompression::None:
            return "none";
        case TBrioCompression::Jpeg:
            return "jpeg";
        default:
            return "zlib";
    }
}

TBrioFrameList LoadImage(const TCommandLine& line, const std::string& file) {
    TBrioFrameList list(ParseKeyOption(line).value_or(0));
    TTpMemoryStream stream(ReadImageBytes(file, line.Value("--archive").value_or("")));
    if (!list.LoadFromFileData(file, stream))
        throw ETovaError(file + ": not a .brz, .png, .bmp or .dib file");
    return list;
}

const char* BoolText(bool value) {
    return value ? "true" : "false";
}

// Appends `"name": value` to the text of an object, after a comma unless the
// object has just begun.
void AppendField(std::string& out, const char* name, std::string_view value) {
    if (out.back() != '{') out += ", ";
    out += std::string("\"") + name + "\": ";
    out += value;
}

void AppendField(std::string& out, const char* name, long long value) {
    AppendField(out, name, std::to_string(value));
}

std::string InfoJson(const TBrioFrameList& list) {
    std::string out = "{";
    const TBrioFrame* first = list.Frames.empty() ? nullptr : list.Frames[0].get();
    AppendField(out, "version", list.Version);
    AppendField(out, "width", first ? first->Width() : 0);
    AppendField(out, "height", first ? first->Height() : 0);
    AppendField(out, "bpp", first ? first->Bpp : 0);
    AppendField(out, "frame_count", list.Count());
    AppendField(out, "compression", JsonString(CompressionName(list.Compression)));
    // Built by appending: a literal + std::string temporary makes GCC 12 at
    // -O3 report a false -Wrestrict (GCC bug 105329).
    std::string tile = "[";
    tile += std::to_string(list.TileWidth);
    tile += ", ";
    tile += std::to_string(list.TileHeight);
    tile += "]";
    AppendField(out, "tile", tile);
    AppendField(out, "scrambled", BoolText(list.Scrambled));
    AppendField(out, "background", list.BackgroundColor);
    AppendField(out, "flag", list.Flag);
    out += ", \"frames\": [";
    for (size_t f = 0; f < list.Frames.size(); ++f) {
        const TBrioFrame& frame = *list.Frames[f];
        out += f ? ", {" : "{";
        AppendField(out, "name", JsonString(frame.Name));
        AppendField(out, "width", frame.Width());
        AppendField(out, "height", frame.Height());
        AppendField(out, "bpp", frame.Bpp);
        AppendField(out, "delay", frame.Delay);
        AppendField(out, "transparent_index", frame.TransparentIndex);
        out += ", \"layers\": [";
        for (size_t l = 0; l < frame.Layers.size(); ++l) {
            const TBrioLayer& layer = *frame.Layers[l];
            out += l ? ", {" : "{";
            AppendField(out, "name", JsonString(layer.Name));
            AppendField(out, "visible", BoolText(layer.Visible));
            AppendField(out, "opacity", layer.Opacity);
            AppendField(out, "transparent_color", layer.TransparentColor);
            AppendField(out, "alpha_on", BoolText(layer.AlphaOn));
            AppendField(out, "has_alpha", BoolText(layer.HasAlpha));
            out += "}";
        }
        out += "]}";
    }
    out += "]}\n";
    return out;
}

int RunInfo(const TArgs& args) {
    const TCommandLine line(args, {}, {"--key", "--archive"});
    line.ExpectOperands(1);
    std::cout << InfoJson(LoadImage(line, line.Operands()[0]));
    return 0;
}

int RunDecode(const TArgs& args) {
    const TCommandLine line(args, {"--mask"}, {"--key", "--frame", "--archive"});
    line.ExpectOperands(2);
    const long long index = line.Value("--frame") ? ParseCount("--frame", *line.Value("--frame")) : 0;
    TBrioFrameList list = LoadImage(line, line.Operands()[0]);
    list.FinishLoad(line.Has("--mask"));
    if (index >= list.Count())
        throw ETovaError("the image has " + std::to_string(list.Count()) + " frames, no frame " +
                         std::to_string(index));
    TBrioFrame& frame = *list.Frames[static_cast<size_t>(index)];
    frame.ConvertToColour(list.Budget);
    if (!frame.HasMask) {
        // Always RGBA: a frame without a mask is opaque.
        frame.Mask.Resize(frame.Width(), frame.Height());
        for (int32_t y = 0; y < frame.Height(); ++y)
            std::fill_n(frame.Mask.Row(y), frame.Width(), uint8_t{255});
    }
    const TConstView8 mask = frame.Mask.View();
    WriteHostBytes(line.Operands()[1], EncodePng(frame.Picture.Colour.View(), &mask));
    return 0;
}

}  // namespace

int RunImg(const TArgs& args) {
    if (args.empty()) throw EUsage("img needs a subcommand: info, decode or encode");
    if (args[0] == "--help" || args[0] == "-h") throw EHelpRequested();
    const TArgs rest(args.begin() + 1, args.end());
    if (args[0] == "info") return RunInfo(rest);
    if (args[0] == "decode") return RunDecode(rest);
    if (args[0] == "encode") return RunEncode(rest);
    throw EUsage("unknown img subcommand '" + args[0] + "'");
}

}  // namespace tova::sdk
