// Helpers for the sound tests: WAV and Ogg files built in memory from known
// sample values, written to a scratch directory.
#pragma once

#include <dlfcn.h>
#include <ogg/ogg.h>
#include <unistd.h>
#include <vorbis/codec.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace soundtest {

inline void put16(std::vector<uint8_t>& b, int v) {
  b.push_back(static_cast<uint8_t>(v & 0xFF));
  b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
inline void put32(std::vector<uint8_t>& b, uint32_t v) {
  put16(b, static_cast<int>(v & 0xFFFF));
  put16(b, static_cast<int>(v >> 16));
}

// A RIFF/WAVE file around raw sample bytes.
inline std::vector<uint8_t> Wav(int channels, int rate, int bits, const std::vector<uint8_t>& data,
                                int64_t declaredDataSize = -1) {
  std::vector<uint8_t> b = {'R', 'I', 'F', 'F'};
  put32(b, static_cast<uint32_t>(36 + data.size()));
  for (char c : std::string("WAVEfmt ")) b.push_back(static_cast<uint8_t>(c));
  put32(b, 16);
  put16(b, 1);
  put16(b, channels);
  put32(b, static_cast<uint32_t>(rate));
  put32(b, static_cast<uint32_t>(rate * channels * bits / 8));
  put16(b, channels * bits / 8);
  put16(b, bits);
  for (char c : std::string("data")) b.push_back(static_cast<uint8_t>(c));
  put32(b, static_cast<uint32_t>(declaredDataSize >= 0 ? declaredDataSize : data.size()));
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

// 16-bit mono ramp: sample i is (i + 1) * 16, i.e. (i + 1) / 2048 as float,
// so every frame is distinct and sums of a few stay exact.
inline int16_t RampValue(int64_t i) { return static_cast<int16_t>(((i % 2000) + 1) * 16); }
inline float RampFloat(int64_t i) { return RampValue(i) / 32768.0f; }

inline std::vector<uint8_t> RampWav(int frames, int rate = 44100) {
  std::vector<uint8_t> data;
  for (int i = 0; i < frames; ++i) put16(data, RampValue(i));
  return Wav(1, rate, 16, data);
}

inline std::string ScratchDir() {
  static std::string dir = [] {
    char templ[] = "/tmp/velmora-sound-XXXXXX";
    const char* made = mkdtemp(templ);
    return std::string(made ? made : "/tmp");
  }();
  return dir;
}

// Data files are named relative to the working directory, so the sound tests
// run inside the scratch directory while one of these is alive.
class InScratchDir {
 public:
  InScratchDir() {
    char buf[4096];
    if (getcwd(buf, sizeof buf)) old_ = buf;
    if (chdir(ScratchDir().c_str()) != 0) old_.clear();
  }
  ~InScratchDir() {
    if (!old_.empty() && chdir(old_.c_str()) != 0) old_.clear();
  }
  InScratchDir(const InScratchDir&) = delete;
  InScratchDir& operator=(const InScratchDir&) = delete;

 private:
  std::string old_;
};

// Writes a file into the scratch directory; returns its data-file name.
inline std::string WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::string path = ScratchDir() + "/" + name;
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  return name;
}

// Encodes mono float samples to Ogg Vorbis. The encoder's set-up call lives
// in libvorbisenc, which the game itself does not link, so it is looked up
// at run time; everything else is plain libvorbis and libogg.
inline bool EncodeOgg(const std::vector<float>& mono, int rate, std::vector<uint8_t>& out) {
  using InitVbr = int (*)(vorbis_info*, long, long, float);
  static void* lib = dlopen("libvorbisenc.so.2", RTLD_NOW);
  if (!lib) return false;
  auto initVbr = reinterpret_cast<InitVbr>(dlsym(lib, "vorbis_encode_init_vbr"));
  if (!initVbr) return false;

  vorbis_info vi;
  vorbis_info_init(&vi);
  if (initVbr(&vi, 1, rate, 0.6f) != 0) return false;
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block vb;
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 1234);
  out.clear();
  auto writePage = [&](const ogg_page& og) {
    out.insert(out.end(), og.header, og.header + og.header_len);
    out.insert(out.end(), og.body, og.body + og.body_len);
  };
  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  ogg_page og;
  while (ogg_stream_flush(&os, &og)) writePage(og);

  size_t pos = 0;
  bool eos = false;
  while (!eos) {
    size_t n = std::min<size_t>(1024, mono.size() - pos);
    if (n == 0) {
      vorbis_analysis_wrote(&vd, 0);
    } else {
      float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
      std::copy_n(mono.begin() + static_cast<long>(pos), n, buffer[0]);
      vorbis_analysis_wrote(&vd, static_cast<int>(n));
      pos += n;
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet op;
      while (vorbis_bitrate_flushpacket(&vd, &op)) {
        ogg_stream_packetin(&os, &op);
        while (ogg_stream_pageout(&os, &og)) {
          writePage(og);
          if (ogg_page_eos(&og)) eos = true;
        }
      }
    }
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return true;
}

}  // namespace soundtest
