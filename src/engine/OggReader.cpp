// Ogg Vorbis decoding from compressed bytes held in memory. Music is kept
// compressed and decoded while it plays: the audio thread never touches the
// data-file layer (which belongs to the game thread), and a track costs its
// file size rather than its decoded size.
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>

#include "SoundData.h"

namespace engine {
namespace {

struct MemorySource {
  std::shared_ptr<const std::vector<uint8_t>> data;
  size_t pos = 0;
};

size_t readMemory(void* ptr, size_t size, size_t count, void* source) {
  auto* s = static_cast<MemorySource*>(source);
  if (size == 0 || count == 0) return 0;
  size_t left = s->data->size() - s->pos;
  size_t items = std::min(count, left / size);
  std::memcpy(ptr, s->data->data() + s->pos, items * size);
  s->pos += items * size;
  return items;
}

int seekMemory(void* source, ogg_int64_t offset, int whence) {
  auto* s = static_cast<MemorySource*>(source);
  ogg_int64_t base = 0;
  if (whence == SEEK_CUR) base = static_cast<ogg_int64_t>(s->pos);
  if (whence == SEEK_END) base = static_cast<ogg_int64_t>(s->data->size());
  ogg_int64_t target = base + offset;
  if (target < 0 || target > static_cast<ogg_int64_t>(s->data->size())) return -1;
  s->pos = static_cast<size_t>(target);
  return 0;
}

long tellMemory(void* source) { return static_cast<long>(static_cast<MemorySource*>(source)->pos); }

class OggDecoder final : public StreamDecoder {
 public:
  explicit OggDecoder(std::shared_ptr<const std::vector<uint8_t>> data) {
    source_.data = std::move(data);
  }
  ~OggDecoder() override {
    if (open_) ov_clear(&file_);
  }

  bool open() {
    ov_callbacks callbacks{readMemory, seekMemory, nullptr, tellMemory};
    if (ov_open_callbacks(&source_, &file_, nullptr, 0, callbacks) != 0) return false;
    open_ = true;
    vorbis_info* info = ov_info(&file_, -1);
    if (!info || info->channels < 1 || info->rate < 1000 || info->rate > 384000) return false;
    rate_ = static_cast<int>(info->rate);
    length_ = ov_pcm_total(&file_, -1);
    if (length_ < 0) length_ = -1;
    return true;
  }

  int rate() const override { return rate_; }
  int64_t length() const override { return length_; }

  int read(float* stereo, int frames) override {
    int holes = 0;
    while (frames > 0) {
      float** pcm = nullptr;
      int section = 0;
      long got = ov_read_float(&file_, &pcm, frames, &section);
      if (got == OV_HOLE && ++holes < 8) continue;  // a gap in the data: skip it
      if (got < 0) return -1;
      if (got == 0) return 0;
      vorbis_info* info = ov_info(&file_, section);
      int channels = info ? info->channels : 0;
      if (channels < 1) return -1;
      const float* left = pcm[0];
      const float* right = channels > 1 ? pcm[1] : pcm[0];
      for (long i = 0; i < got; ++i) {
        stereo[2 * i] = clean(left[i]);
        stereo[2 * i + 1] = clean(right[i]);
      }
      return static_cast<int>(got);
    }
    return 0;
  }

  bool seek(int64_t frame) override {
    if (frame < 0 || (length_ >= 0 && frame > length_)) return false;
    return ov_pcm_seek(&file_, frame) == 0;
  }

 private:
  static float clean(float v) {
    if (!(v == v)) return 0.0f;
    return v < -1.0f ? -1.0f : (v > 1.0f ? 1.0f : v);
  }

  MemorySource source_;
  OggVorbis_File file_{};
  bool open_ = false;
  int rate_ = kMixRate;
  int64_t length_ = -1;
};

}  // namespace

std::unique_ptr<StreamDecoder> OpenOgg(std::shared_ptr<const std::vector<uint8_t>> data) {
  if (!data || data->size() < 4 || std::memcmp(data->data(), "OggS", 4) != 0) return nullptr;
  auto decoder = std::make_unique<OggDecoder>(std::move(data));
  if (!decoder->open()) return nullptr;
  return decoder;
}

}  // namespace engine
