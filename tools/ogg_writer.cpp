// SPDX-License-Identifier: GPL-3.0-or-later
// libvorbis encoder loop: analysis blocks in, Ogg pages out.
#include "ogg_writer.h"

#include <vorbis/vorbisenc.h>

#include <cstdio>

namespace assetgen {

namespace {
constexpr int kSerial = 0x56454c51;  // "VELQ"
constexpr int kChunkFrames = 1024;

void AppendPage(Bytes& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}
}  // namespace

Bytes EncodeOgg(const std::vector<float>& samples, int channels, int rate, float quality) {
    Bytes out;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
        std::fprintf(stderr, "assetgen: vorbis rejects %d channels at %d Hz\n", channels, rate);
        vorbis_info_clear(&info);
        return out;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "ENCODER", "velq assetgen");
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, kSerial);

    ogg_packet header, commentPacket, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentPacket, &codebooks);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentPacket);
    ogg_stream_packetin(&stream, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) AppendPage(out, page);

    const size_t frames = samples.size() / channels;
    size_t done = 0;
    bool ended = false;
    while (!ended) {
        const size_t n = std::min<size_t>(kChunkFrames, frames - done);
        if (n == 0) {
            vorbis_analysis_wrote(&dsp, 0);  // end of stream
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
            for (size_t i = 0; i < n; ++i)
                for (int c = 0; c < channels; ++c) buffer[c][i] = samples[(done + i) * channels + c];
            vorbis_analysis_wrote(&dsp, static_cast<int>(n));
            done += n;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    AppendPage(out, page);
                    if (ogg_page_eos(&page)) ended = true;
                }
            }
        }
        if (n == 0 && !ended) {  // flush whatever is left
            while (ogg_stream_flush(&stream, &page) != 0) AppendPage(out, page);
            ended = true;
        }
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

bool WriteOgg(const std::string& path, const std::vector<float>& samples, int channels, int rate, float quality) {
    const Bytes bytes = EncodeOgg(samples, channels, rate, quality);
    return !bytes.empty() && WriteFile(path, bytes);
}

}  // namespace assetgen
