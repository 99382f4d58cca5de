// velmora-audio: builds the game's sound effects, music and music list.
//   velmora-audio se <effect.sfx> <out.wav>
//   velmora-audio music <track.score> <out.ogg>
//   velmora-audio list <tracks.txt> <score dir> <out BGM.tsv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "MusicList.h"
#include "OggWriter.h"
#include "Score.h"
#include "Sfx.h"
#include "Synth.h"

namespace {

bool ReadText(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  *text = ss.str();
  return true;
}

int Fail(const std::string& path, const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", path.c_str(), message.c_str());
  return 1;
}

std::string Stem(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

int BuildEffect(const std::string& in, const std::string& out) {
  std::string text, error;
  audio::SfxRecipe recipe;
  if (!ReadText(in, &text)) return Fail(in, "cannot read");
  if (!audio::ParseSfx(text, &recipe, &error)) return Fail(in, error);
  if (!audio::WriteWav16(out, audio::RenderSfx(recipe), audio::kRate))
    return Fail(out, "cannot write");
  return 0;
}

int BuildMusic(const std::string& in, const std::string& out) {
  std::string text, error;
  audio::Score score;
  if (!ReadText(in, &text)) return Fail(in, "cannot read");
  if (!audio::ParseScore(text, &score, &error)) return Fail(in, error);
  const audio::RenderedTrack track = audio::RenderScore(score);
  if (!audio::WriteOggVorbis(out, track.stereo, track.frames, 0.4f, "Velmora " + Stem(in),
                             &error)) {
    return Fail(out, error);
  }
  std::printf("%s: %.1f s, loop from %.1f s\n", Stem(in).c_str(),
              static_cast<double>(track.frames) / audio::kRate,
              static_cast<double>(track.loopStart) / audio::kRate);
  return 0;
}

int BuildList(const std::string& listPath, const std::string& scoreDir, const std::string& out) {
  std::string text, error;
  std::vector<audio::BgmEntry> entries;
  if (!ReadText(listPath, &text)) return Fail(listPath, "cannot read");
  if (!audio::ParseTrackList(text, &entries, &error)) return Fail(listPath, error);
  // The loop point comes from the score itself, through the same beat-to-sample
  // rounding the renderer uses.
  for (audio::BgmEntry& e : entries) {
    const std::string path = scoreDir + "/" + e.score + ".score";
    audio::Score score;
    if (!ReadText(path, &text)) return Fail(path, "cannot read");
    if (!audio::ParseScore(text, &score, &error)) return Fail(path, error);
    e.loopPoint = audio::BeatToSample(score, score.loopBeat);
  }
  std::string tsv;
  if (!audio::FormatBgmList(entries, &tsv, &error)) return Fail(listPath, error);
  std::ofstream file(out, std::ios::binary);
  file << tsv;
  if (!file.flush()) return Fail(out, "cannot write");
  return 0;
}

}  // namespace

// Writes to a temporary name and renames on success, so a failed or
// interrupted build never leaves a half-written file that looks up to date.
template <typename Build>
int WriteAtomically(const std::string& out, Build build) {
  const std::string temp = out + ".part";
  const int rc = build(temp);
  std::error_code ec;
  if (rc == 0) std::filesystem::rename(temp, out, ec);
  if (rc != 0 || ec) {
    std::filesystem::remove(temp, ec);
    return rc != 0 ? rc : Fail(out, "cannot rename the finished file");
  }
  return 0;
}

int main(int argc, char** argv) {
  const std::string cmd = argc > 1 ? argv[1] : "";
  if (cmd == "se" && argc == 4) {
    return WriteAtomically(argv[3],
                           [&](const std::string& out) { return BuildEffect(argv[2], out); });
  }
  if (cmd == "music" && argc == 4) {
    return WriteAtomically(argv[3],
                           [&](const std::string& out) { return BuildMusic(argv[2], out); });
  }
  if (cmd == "list" && argc == 5) {
    return WriteAtomically(
        argv[4], [&](const std::string& out) { return BuildList(argv[2], argv[3], out); });
  }
  std::fprintf(stderr,
               "usage: velmora-audio se <in.sfx> <out.wav>\n"
               "       velmora-audio music <in.score> <out.ogg>\n"
               "       velmora-audio list <tracks.txt> <score dir> <out.tsv>\n");
  return 2;
}
