// JPEG through libjpeg-turbo: decoding within the size limits, the most
// scans a file may have and the load budget (the picture and, for files of
// several scans, the coefficients libjpeg keeps for the whole picture), and
// encoding.
#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <jpeglib.h>

#include "core/error.h"
#include "graphics/image_codecs.h"

namespace tova {
namespace {

void JpegErrorExit(j_common_ptr info);
void JpegSilence(j_common_ptr) {}

// libjpeg's error manager: a failure jumps back to Jump with its text in
// Message; warnings are not printed.
struct TJpegError {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];

    jpeg_error_mgr* Install() {
        jpeg_std_error(&Manager);
        Manager.error_exit = JpegErrorExit;
        Manager.output_message = JpegSilence;
        return &Manager;
    }
};

void JpegErrorExit(j_common_ptr info) {
    auto* error = reinterpret_cast<TJpegError*>(info->err);
    (*info->err->format_message)(info, error->Message);
    std::longjmp(error->Jump, 1);
}

// libjpeg calls this after every row of blocks it takes in; a decode whose
// input reached a scan past the most a file may have stops there.
struct TJpegProgress {
    jpeg_progress_mgr Manager;
    TJpegError* Error;
};

void JpegProgress(j_common_ptr info) {
    if (!info->is_decompressor) return;
    const int scan = reinterpret_cast<j_decompress_ptr>(info)->input_scan_number;
    if (scan <= kMaxJpegScans) return;
    TJpegError& error = *reinterpret_cast<TJpegProgress*>(info->progress)->Error;
    std::snprintf(error.Message, sizeof error.Message, "more than %d scans", kMaxJpegScans);
    std::longjmp(error.Jump, 1);
}

int64_t RoundUp(int64_t v, int64_t step) {
    return (v + step - 1) / step * step;
}

// The coefficient buffer libjpeg keeps for the whole picture while it reads
// a file of several scans (progressive ones among them); none for one scan.
int64_t CoefficientBytes(jpeg_decompress_struct& info) {
    if (!jpeg_has_multiple_scans(&info)) return 0;
    int64_t bytes = 0;
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info& component = info.comp_info[c];
        bytes += RoundUp(component.width_in_blocks, component.h_samp_factor) *
                 RoundUp(component.height_in_blocks, component.v_samp_factor) *
                 static_cast<int64_t>(sizeof(JBLOCK));
    }
    return bytes;
}

// What one decode works on; it lives outside the frame that calls setjmp.
struct TJpegDecode {
    std::span<const uint8_t> Data;
    const TDecodeLimits& Limits;
    TImageBudget& Budget;
    TBudgetHold& DecoderMemory;
    TDecodedImage& Image;
};

// The libjpeg calls of one decode. libjpeg reports a failure by jumping
// back here, so this frame holds no object with a destructor. False with
// the reason in error.Message.
bool RunJpegDecode(jpeg_decompress_struct& info, TJpegError& error, const TJpegDecode& job) {
    if (setjmp(error.Jump)) return false;
    jpeg_mem_src(&info, job.Data.data(), static_cast<unsigned long>(job.Data.size()));
    jpeg_read_header(&info, TRUE);
    CheckImageSize(info.image_width, info.image_height, job.Limits);
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_calc_output_dimensions(&info);
    const int64_t coefficients = CoefficientBytes(info);
    job.DecoderMemory.Take(coefficients);
    job.Budget.Resize(job.Image.Colour, static_cast<int32_t>(info.output_width),
                      static_cast<int32_t>(info.output_height));
    // libjpeg's own check, should it ever need more than reckoned here.
    info.mem->max_memory_to_use =
        static_cast<long>(std::min<int64_t>(coefficients + job.Budget.Left(), LONG_MAX));
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row =
            reinterpret_cast<JSAMPROW>(job.Image.Colour.Row(static_cast<int32_t>(info.output_scanline)));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

TDecodedImage DecodeJpeg(std::span<const uint8_t> data, const TDecodeLimits& limits) {
    TImageBudget ownBudget;
    TImageBudget& budget = limits.Budget ? *limits.Budget : ownBudget;
    TDecodedImage image;
    TBudgetHold decoderMemory(budget);
    jpeg_decompress_struct info{};
    TJpegError error{};
    info.err = error.Install();
    jpeg_create_decompress(&info);
    struct TGuard {
        jpeg_decompress_struct* Info;
        ~TGuard() { jpeg_destroy_decompress(Info); }
    } guard{&info};
    TJpegProgress progress{};
    progress.Manager.progress_monitor = JpegProgress;
    progress.Error = &error;
    info.progress = &progress.Manager;
    if (!RunJpegDecode(info, error, {data, limits, budget, decoderMemory, image}))
        throw ETovaError(std::string("damaged JPEG data: ") + error.Message);
    for (int32_t y = 0; y < image.Colour.Height(); ++y) {
        TPixel32* row = image.Colour.Row(y);
        for (int32_t x = 0; x < image.Colour.Width(); ++x)
            row[x] &= 0x00FFFFFFu;
    }
    return image;
}

std::vector<uint8_t> EncodeJpeg(TConstView32 colour, int quality) {
    jpeg_compress_struct info{};
    TJpegError error{};
    info.err = error.Install();
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    struct TGuard {
        jpeg_compress_struct* Info;
        unsigned char** Buffer;
        ~TGuard() {
            jpeg_destroy_compress(Info);
            std::free(*Buffer);
        }
    } guard{&info, &buffer};
    if (setjmp(error.Jump)) throw ETovaError(std::string("JPEG encoding failed: ") + error.Message);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(colour.Width);
    info.image_height = static_cast<JDIMENSION>(colour.Height);
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto row = reinterpret_cast<JSAMPROW>(
            const_cast<TPixel32*>(colour.Row(static_cast<int32_t>(info.next_scanline))));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return std::vector<uint8_t>(buffer, buffer + size);
}

}  // namespace tova
