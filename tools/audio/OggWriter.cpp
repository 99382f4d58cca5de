#include "OggWriter.h"

#include <vorbis/vorbisenc.h>

#include <cstdio>
#include <memory>

#include "Dsp.h"

namespace audio {

namespace {

bool WritePage(FILE* f, const ogg_page& page) {
  return std::fwrite(page.header, 1, page.header_len, f) == static_cast<size_t>(page.header_len) &&
         std::fwrite(page.body, 1, page.body_len, f) == static_cast<size_t>(page.body_len);
}

// Owns the encoder state so every exit path releases it.
struct Encoder {
  vorbis_info info;
  vorbis_comment comment;
  vorbis_dsp_state dsp;
  vorbis_block block;
  ogg_stream_state stream;
  bool dspReady = false, streamReady = false;
  Encoder() {
    vorbis_info_init(&info);
    vorbis_comment_init(&comment);
  }
  ~Encoder() {
    if (streamReady) ogg_stream_clear(&stream);
    if (dspReady) {
      vorbis_block_clear(&block);
      vorbis_dsp_clear(&dsp);
    }
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
  }
};

}  // namespace

bool WriteOggVorbis(const std::string& path, const std::vector<float>& stereo, int64_t frames,
                    float quality, const std::string& title, std::string* error) {
  Encoder enc;
  if (vorbis_encode_init_vbr(&enc.info, 2, kRate, quality) != 0) {
    *error = "the Vorbis encoder refused its settings";
    return false;
  }
  vorbis_comment_add_tag(&enc.comment, "TITLE", title.c_str());
  vorbis_analysis_init(&enc.dsp, &enc.info);
  vorbis_block_init(&enc.dsp, &enc.block);
  enc.dspReady = true;
  uint32_t serial = 0x0665;
  for (unsigned char c : title) serial = HashSeed(serial, c);
  ogg_stream_init(&enc.stream, static_cast<int>(serial & 0x7FFFFFFF));
  enc.streamReady = true;

  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
  if (!file) {
    *error = "cannot write " + path;
    return false;
  }
  ogg_packet header, commentPacket, codebooks;
  vorbis_analysis_headerout(&enc.dsp, &enc.comment, &header, &commentPacket, &codebooks);
  ogg_stream_packetin(&enc.stream, &header);
  ogg_stream_packetin(&enc.stream, &commentPacket);
  ogg_stream_packetin(&enc.stream, &codebooks);
  ogg_page page;
  bool ok = true;
  while (ogg_stream_flush(&enc.stream, &page) != 0) ok = ok && WritePage(file.get(), page);

  constexpr int64_t kChunk = 4096;
  int64_t done = 0;
  bool finished = false;
  while (!finished) {
    const int64_t n = std::min(kChunk, frames - done);
    if (n > 0) {
      float** buffer = vorbis_analysis_buffer(&enc.dsp, static_cast<int>(n));
      for (int64_t i = 0; i < n; ++i) {
        buffer[0][i] = stereo[2 * (done + i)];
        buffer[1][i] = stereo[2 * (done + i) + 1];
      }
      vorbis_analysis_wrote(&enc.dsp, static_cast<int>(n));
      done += n;
    } else {
      vorbis_analysis_wrote(&enc.dsp, 0);  // end of stream: the last page gets the exact length
      finished = true;
    }
    while (vorbis_analysis_blockout(&enc.dsp, &enc.block) == 1) {
      vorbis_analysis(&enc.block, nullptr);
      vorbis_bitrate_addblock(&enc.block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&enc.dsp, &packet) != 0) {
        ogg_stream_packetin(&enc.stream, &packet);
        while (ogg_stream_pageout(&enc.stream, &page) != 0) ok = ok && WritePage(file.get(), page);
      }
    }
  }
  while (ogg_stream_flush(&enc.stream, &page) != 0) ok = ok && WritePage(file.get(), page);
  if (!ok || std::fflush(file.get()) != 0) {
    *error = "write error on " + path;
    return false;
  }
  return true;
}

}  // namespace audio
