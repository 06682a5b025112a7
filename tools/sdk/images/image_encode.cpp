// Authoring layered images from PNG, BMP and JPEG pictures.
#include "sdk/images/image_encode.h"

#include <cmath>
#include <filesystem>
#include <unordered_map>

#include "core/encoding.h"
#include "core/error.h"
#include "core/json_value.h"
#include "graphics/brio_image.h"
#include "sdk/command_line.h"
#include "sdk/images/image_files_io.h"

namespace tova::sdk {
namespace {

struct TLayerSpec {
    std::string Name = "Layer";  // UTF-8
    std::string Source;          // host path
    bool Visible = true;
    int32_t Opacity = 255;
    int32_t TransparentColor = -1;
    std::optional<bool> AlphaOn;  // default: whether the source has alpha
};

struct TFrameSpec {
    std::string Name;  // UTF-8
    std::optional<int32_t> Delay;
    int32_t TransparentIndex = -1;
    std::vector<TLayerSpec> Layers;
};

struct TImageSpec {
    TBrioWriteOptions Options;
    int32_t Bpp = 32;
    uint32_t Background = 0;
    uint8_t Flag = 0;
    std::vector<TFrameSpec> Frames;
};

int32_t JsonInt(const TJsonValue& object, const char* key, int32_t fallback, const std::string& file) {
    const TJsonValue* v = object.Member(key);
    if (!v || v->Kind == TJsonValue::TKind::Null) return fallback;
    if (v->Kind != TJsonValue::TKind::Number || v->Number != std::floor(v->Number) ||
        std::abs(v->Number) > 4294967295.0)
        throw ETovaError(file + ": \"" + key + "\" must be a whole number");
    return static_cast<int32_t>(static_cast<int64_t>(v->Number));
}

bool JsonBool(const TJsonValue& object, const char* key, bool fallback, const std::string& file) {
    const TJsonValue* v = object.Member(key);
    if (!v || v->Kind == TJsonValue::TKind::Null) return fallback;
    if (v->Kind != TJsonValue::TKind::Bool)
        throw ETovaError(file + ": \"" + key + "\" must be true or false");
    return v->Bool;
}

std::string JsonText(const TJsonValue& object, const char* key, const std::string& fallback,
                     const std::string& file) {
    const TJsonValue* v = object.Member(key);
    if (!v || v->Kind == TJsonValue::TKind::Null) return fallback;
    if (v->Kind != TJsonValue::TKind::String) throw ETovaError(file + ": \"" + key + "\" must be a string");
    return v->String;
}

TBrioCompression ParseCompression(const std::string& text, bool usage) {
    if (text == "zlib") return TBrioCompression::Zlib;
    if (text == "none") return TBrioCompression::None;
    if (text == "jpeg") return TBrioCompression::Jpeg;
    const std::string message = "compression is zlib, none or jpeg, not '" + text + "'";
    if (usage) throw EUsage(message);
    throw ETovaError(message);
}

void ReadDescription(const std::string& path, TImageSpec& spec) {
    const std::vector<uint8_t> bytes = ReadHostBytes(path);
    const TJsonValue root = ParseJson(std::string(bytes.begin(), bytes.end()), path);
    if (root.Kind != TJsonValue::TKind::Object)
        throw ETovaError(path + ": the description must be an object");
    const std::filesystem::path base = std::filesystem::path(path).parent_path();
    spec.Options.Version = JsonInt(root, "version", spec.Options.Version, path);
    spec.Options.Compression = ParseCompression(JsonText(root, "compression", "zlib", path), false);
    spec.Bpp = JsonInt(root, "bpp", spec.Bpp, path);
    spec.Background = static_cast<uint32_t>(JsonInt(root, "background", 0, path));
    spec.Flag = static_cast<uint8_t>(JsonInt(root, "flag", 0, path));
    if (const TJsonValue* tile = root.Member("tile")) {
        if (tile->Kind != TJsonValue::TKind::Array || tile->Items.size() != 2)
            throw ETovaError(path + ": \"tile\" must be [width, height]");
        TJsonValue pair;
        pair.Members = {{"w", tile->Items[0]}, {"h", tile->Items[1]}};
        spec.Options.TileWidth = JsonInt(pair, "w", 0, path);
        spec.Options.TileHeight = JsonInt(pair, "h", 0, path);
    }
    const TJsonValue* frames = root.Member("frames");
    if (!frames || frames->Kind != TJsonValue::TKind::Array || frames->Items.empty())
        throw ETovaError(path + ": \"frames\" must be a list of frames");
    for (const TJsonValue& f : frames->Items) {
        TFrameSpec frame;
        frame.Name = JsonText(f, "name", "", path);
        if (f.Member("delay")) frame.Delay = JsonInt(f, "delay", 100, path);
        frame.TransparentIndex = JsonInt(f, "transparent_index", -1, path);
        const TJsonValue* layers = f.Member("layers");
        if (!layers || layers->Kind != TJsonValue::TKind::Array || layers->Items.empty())
            throw ETovaError(path + ": every frame needs a list of layers");
        for (const TJsonValue& l : layers->Items) {
            TLayerSpec layer;
            layer.Name = JsonText(l, "name", "Layer", path);
            const std::string source = JsonText(l, "source", "", path);
            if (source.empty()) throw ETovaError(path + ": every layer needs a \"source\"");
            layer.Source = (base / source).string();
            layer.Visible = JsonBool(l, "visible", true, path);
            layer.Opacity = JsonInt(l, "opacity", 255, path);
            layer.TransparentColor = JsonInt(l, "transparent_color", -1, path);
            if (l.Member("alpha_on")) layer.AlphaOn = JsonBool(l, "alpha_on", false, path);
            frame.Layers.push_back(std::move(layer));
        }
        spec.Frames.push_back(std::move(frame));
    }
}

// The frame's palette: every colour of its layers in the order met; more
// than 256 colours cannot be written at 8 bits.
void MakePaletteFrame(TBrioFrame& frame, const std::vector<TDecodedImage>& pictures) {
    std::unordered_map<TPixel32, uint8_t> index;
    for (const TDecodedImage& p : pictures)
        for (int32_t y = 0; y < p.Colour.Height(); ++y)
            for (int32_t x = 0; x < p.Colour.Width(); ++x) {
                const TPixel32 c = p.Colour.Row(y)[x];
                if (index.count(c)) continue;
                if (index.size() == 256)
                    throw ETovaError("a frame has more than 256 colours: it cannot be written at 8 bits");
                index.emplace(c, static_cast<uint8_t>(index.size()));
                frame.Palette.push_back(c);
            }
    frame.Palette.resize(256);
    for (size_t l = 0; l < pictures.size(); ++l) {
        const TSurface32& colour = pictures[l].Colour;
        TBrioPicture& picture = frame.Layers[l]->Picture;
        picture.Resize(8, colour.Width(), colour.Height());
        for (int32_t y = 0; y < colour.Height(); ++y)
            for (int32_t x = 0; x < colour.Width(); ++x)
                picture.Indices.Row(y)[x] = index.at(colour.Row(y)[x]);
    }
}

TBrioFrameList BuildList(const TImageSpec& spec, uint32_t key, int32_t defaultDelay) {
    if (spec.Bpp != 8 && spec.Bpp != 24 && spec.Bpp != 32) throw ETovaError("bpp is 8, 24 or 32");
    TBrioFrameList list(key);
    list.BackgroundColor = spec.Background;
    list.Flag = spec.Flag;
    for (const TFrameSpec& fs : spec.Frames) {
        TBrioFrame& frame = list.AddFrame();
        frame.Name = Utf8ToCp932(fs.Name);
        frame.Delay = fs.Delay.value_or(defaultDelay);
        frame.TransparentIndex = fs.TransparentIndex;
        frame.Bpp = spec.Bpp;
        std::vector<TDecodedImage> pictures;
        for (const TLayerSpec& ls : fs.Layers) {
            pictures.push_back(ReadInputPicture(ls.Source));
            const TDecodedImage& p = pictures.back();
            if (p.Colour.Width() != pictures[0].Colour.Width() ||
                p.Colour.Height() != pictures[0].Colour.Height())
                throw ETovaError(ls.Source + ": every layer of a frame must have the same size");
            TBrioLayer& layer = frame.AddLayer();
            layer.Name = Utf8ToCp932(ls.Name);
            layer.Visible = ls.Visible;
            layer.Opacity = ls.Opacity;
            layer.TransparentColor = ls.TransparentColor;
            layer.HasAlpha = p.HasAlpha;
            layer.AlphaOn = ls.AlphaOn.value_or(p.HasAlpha);
            if (p.HasAlpha) layer.Alpha = p.Alpha;
        }
        if (spec.Bpp == 8) {
            MakePaletteFrame(frame, pictures);
        } else {
            for (size_t l = 0; l < pictures.size(); ++l) {
                frame.Layers[l]->Picture.Bpp = spec.Bpp;
                frame.Layers[l]->Picture.Colour = std::move(pictures[l].Colour);
            }
        }
    }
    return list;
}

void ParseTile(const std::string& text, TBrioWriteOptions& options) {
    const size_t x = text.find('x');
    if (x == std::string::npos) throw EUsage("--tile takes WxH, not '" + text + "'");
    options.TileWidth = static_cast<int32_t>(ParseCount("--tile", text.substr(0, x)));
    options.TileHeight = static_cast<int32_t>(ParseCount("--tile", text.substr(x + 1)));
    if (options.TileWidth < 1 || options.TileHeight < 1 || options.TileWidth > 16384 ||
        options.TileHeight > 16384)
        throw EUsage("--tile takes sides from 1 to 16384");
}

}  // namespace

int RunEncode(const TArgs& args) {
    const TCommandLine line(
        args, {}, {"--key", "--compress", "--quality", "--delay", "--version", "--tile", "--bpp", "--desc"});
    const auto& operands = line.Operands();
    const auto desc = line.Value("--desc");
    if (operands.empty() || (desc ? operands.size() != 1 : operands.size() < 2))
        throw EUsage("encode takes OUT.brz INPUT... or OUT.brz --desc DESC.json");
    TImageSpec spec;
    if (desc) {
        ReadDescription(*desc, spec);
    } else {
        for (size_t i = 1; i < operands.size(); ++i) {
            TFrameSpec frame;
            frame.Name = std::filesystem::path(operands[i]).stem().string();
            TLayerSpec layer;
            layer.Source = operands[i];
            frame.Layers.push_back(std::move(layer));
            spec.Frames.push_back(std::move(frame));
        }
    }
    if (auto v = line.Value("--version"))
        spec.Options.Version = static_cast<int>(ParseCount("--version", *v));
    if (spec.Options.Version < 100 || spec.Options.Version > 106) throw EUsage("--version is 100 to 106");
    if (auto v = line.Value("--compress")) spec.Options.Compression = ParseCompression(*v, true);
    if (auto v = line.Value("--quality")) {
        const long long q = ParseCount("--quality", *v);
        if (q < 1 || q > 100) throw EUsage("--quality is 1 to 100");
        spec.Options.JpegQuality = static_cast<uint8_t>(q);
    }
    if (auto v = line.Value("--tile")) ParseTile(*v, spec.Options);
    if (auto v = line.Value("--bpp")) {
        spec.Bpp = static_cast<int32_t>(ParseCount("--bpp", *v));
        if (spec.Bpp != 8 && spec.Bpp != 24 && spec.Bpp != 32) throw EUsage("--bpp is 8, 24 or 32");
    }
    const int32_t delay =
        line.Value("--delay") ? static_cast<int32_t>(ParseCount("--delay", *line.Value("--delay"))) : 100;
    // Asking for scrambling with key 0 is the error the player gives.
    const std::optional<uint32_t> key = ParseKeyOption(line);
    if (key == 0u) throw ETovaError(ImageKeyMissingMessage());
    const TBrioFrameList list = BuildList(spec, key.value_or(0), delay);
    TTpMemoryStream out;
    list.SaveToStream(out, spec.Options);
    WriteHostBytes(operands[0], out.Bytes());
    return 0;
}

}  // namespace tova::sdk
