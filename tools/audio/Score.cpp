#include "Score.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>

namespace audio {

namespace {

bool ToFloat(const std::string& text, float* out) {
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !std::isfinite(v)) return false;
  *out = static_cast<float>(v);
  return true;
}

bool SetPatchField(Patch* p, const std::string& key, const std::string& value) {
  if (key == "wave") return ParseWave(value.c_str(), &p->wave);
  float v;
  if (!ToFloat(value, &v)) return false;
  const std::map<std::string, float*> fields = {
      {"detune", &p->detune},     {"width", &p->width},     {"sub", &p->sub},
      {"duty", &p->duty},         {"attack", &p->attack},   {"decay", &p->decay},
      {"sustain", &p->sustain},   {"release", &p->release}, {"cutoff", &p->cutoff},
      {"env", &p->env},           {"fdecay", &p->fdecay},   {"reso", &p->reso},
      {"keytrack", &p->keytrack}, {"ratio", &p->ratio},     {"index", &p->index},
      {"idecay", &p->idecay},     {"vib", &p->vib},         {"vibrate", &p->vibRate},
      {"vibdelay", &p->vibDelay}, {"volume", &p->volume},   {"pan", &p->pan},
      {"reverb", &p->reverb},     {"delay", &p->delay},     {"drive", &p->drive},
      {"hp", &p->highpass},       {"lfo", &p->lfo},         {"lforate", &p->lfoRate}};
  const auto it = fields.find(key);
  if (it == fields.end()) return false;
  *it->second = v;
  return true;
}

// Expands [body]n repeats (n defaults to 2). A ':' inside a repeat marks where
// the last pass stops, so "[ab:c]3" plays a b c a b c a b.
bool ExpandRepeats(const std::string& s, size_t* pos, bool inside, std::string* out,
                   std::string* error) {
  while (*pos < s.size()) {
    const char c = s[*pos];
    if (c == '[') {
      ++*pos;
      std::string body;
      if (!ExpandRepeats(s, pos, true, &body, error)) return false;
      int count = 0;
      while (*pos < s.size() && std::isdigit(static_cast<unsigned char>(s[*pos]))) {
        count = count * 10 + (s[*pos] - '0');
        if (count > 999) break;
        ++*pos;
      }
      if (count == 0) count = 2;
      if (count > 999) {
        *error = "repeat count too large";
        return false;
      }
      const size_t colon = body.find(':');
      const std::string last = body.substr(0, colon);
      if (colon != std::string::npos) body.erase(colon, 1);
      for (int i = 0; i + 1 < count; ++i) *out += body;
      *out += last;
    } else if (c == ']') {
      if (!inside) {
        *error = "']' without '['";
        return false;
      }
      ++*pos;
      return true;
    } else {
      *out += c;
      ++*pos;
    }
  }
  if (inside) {
    *error = "'[' without ']'";
    return false;
  }
  return true;
}

struct TrackResult {
  double end = 0.0;
  double loop = -1.0;
};

class MmlParser {
 public:
  MmlParser(const std::string& text, const std::map<std::string, int>& patches, uint32_t track,
            std::vector<NoteEvent>* events)
      : s_(text), patches_(patches), track_(track), events_(events) {}

  bool Run(TrackResult* result, std::string* error) {
    while (pos_ < s_.size()) {
      const char c = s_[pos_++];
      if (std::isspace(static_cast<unsigned char>(c)) || c == '|') continue;
      if (!Token(c, error)) {
        *error += " (at character " + std::to_string(pos_) + " of the expanded track)";
        return false;
      }
    }
    result->end = time_;
    result->loop = loop_;
    return true;
  }

 private:
  bool Token(char c, std::string* error) {
    switch (c) {
      case 'o':
        return Number(&octave_, 0, 9, error);
      case '<':
        --octave_;
        return true;
      case '>':
        ++octave_;
        return true;
      case 'l':
        return Length(&defaultLength_, error);
      case 'v': {
        int v;
        if (!Number(&v, 0, 15, error)) return false;
        velocity_ = static_cast<float>(v) / 15.0f;
        return true;
      }
      case 'q': {
        int q;
        if (!Number(&q, 1, 8, error)) return false;
        gate_ = q / 8.0;
        return true;
      }
      case 'k': {
        bool negative = pos_ < s_.size() && s_[pos_] == '-';
        if (negative || (pos_ < s_.size() && s_[pos_] == '+')) ++pos_;
        if (!Number(&transpose_, 0, 48, error)) return false;
        if (negative) transpose_ = -transpose_;
        return true;
      }
      case '@':
        return SelectPatch(error);
      case 'L':
        if (loop_ >= 0.0) {
          *error = "two loop markers";
          return false;
        }
        loop_ = time_;
        return true;
      case 'r': {
        double len;
        if (!Length(&len, error)) return false;
        time_ += len;
        last_.clear();
        return true;
      }
      case '^': {
        double len;
        if (!Length(&len, error)) return false;
        if (last_.empty()) {
          *error = "'^' without a note before it";
          return false;
        }
        lastNominal_ += len;
        for (size_t i : last_) (*events_)[i].length = lastNominal_ * gate_;
        time_ += len;
        return true;
      }
      case '{':
        return Chord(error);
      default:
        break;
    }
    if (c >= 'a' && c <= 'g') return Note(c, error);
    const Drum drum = DrumFor(c);
    if (drum != Drum::kNone) {
      double len;
      if (!Length(&len, error)) return false;
      // Drums take their pitch from the octave (toms are tuned by it).
      if (!Emit(static_cast<float>((octave_ + 1) * 12), len, drum, error)) return false;
      last_.clear();
      time_ += len;
      return true;
    }
    *error = std::string("unexpected '") + c + "'";
    return false;
  }

  static Drum DrumFor(char c) {
    switch (c) {
      case 'K':
        return Drum::kKick;
      case 'S':
        return Drum::kSnare;
      case 'H':
        return Drum::kHat;
      case 'O':
        return Drum::kOpenHat;
      case 'T':
        return Drum::kTom;
      case 'C':
        return Drum::kCrash;
      case 'P':
        return Drum::kClap;
      default:
        return Drum::kNone;
    }
  }

  bool Number(int* out, int lo, int hi, std::string* error) {
    if (pos_ >= s_.size() || !std::isdigit(static_cast<unsigned char>(s_[pos_]))) {
      *error = "a number is missing";
      return false;
    }
    int v = 0;
    while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) {
      v = v * 10 + (s_[pos_++] - '0');
      if (v > 100000) break;
    }
    if (v < lo || v > hi) {
      *error = "number " + std::to_string(v) + " outside " + std::to_string(lo) + ".." +
               std::to_string(hi);
      return false;
    }
    *out = v;
    return true;
  }

  // A length in note values (4 = a beat) with optional dots; none = the default.
  bool Length(double* out, std::string* error) {
    double len = defaultLength_;
    if (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) {
      int n;
      if (!Number(&n, 1, 64, error)) return false;
      len = 4.0 / n;
    }
    double add = len / 2.0;
    while (pos_ < s_.size() && s_[pos_] == '.') {
      len += add;
      add /= 2.0;
      ++pos_;
    }
    *out = len;
    return true;
  }

  bool Pitch(char c, float* note) {
    static const int kSemis[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
    int semis = kSemis[c - 'a'];
    while (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '#' || s_[pos_] == '-')) {
      semis += s_[pos_++] == '-' ? -1 : 1;
    }
    *note = static_cast<float>((octave_ + 1) * 12 + semis + transpose_);
    return *note >= 12.0f && *note <= 120.0f;
  }

  bool Note(char c, std::string* error) {
    float note;
    if (!Pitch(c, &note)) {
      *error = "note out of range";
      return false;
    }
    double len;
    if (!Length(&len, error)) return false;
    last_.clear();
    if (!Emit(note, len, Drum::kNone, error)) return false;
    lastNominal_ = len;
    time_ += len;
    return true;
  }

  // {ceg}2: the notes sound together; octave moves inside stay inside.
  bool Chord(std::string* error) {
    const int savedOctave = octave_;
    std::vector<float> notes;
    while (pos_ < s_.size() && s_[pos_] != '}') {
      const char c = s_[pos_++];
      if (c == '<') {
        --octave_;
      } else if (c == '>') {
        ++octave_;
      } else if (c >= 'a' && c <= 'g') {
        float note;
        if (!Pitch(c, &note)) {
          *error = "note out of range";
          return false;
        }
        notes.push_back(note);
      } else if (!std::isspace(static_cast<unsigned char>(c))) {
        *error = std::string("unexpected '") + c + "' in a chord";
        return false;
      }
    }
    if (pos_ >= s_.size() || notes.empty()) {
      *error = "unfinished or empty chord";
      return false;
    }
    ++pos_;
    octave_ = savedOctave;
    double len;
    if (!Length(&len, error)) return false;
    last_.clear();
    for (float n : notes) {
      if (!Emit(n, len, Drum::kNone, error)) return false;
    }
    lastNominal_ = len;
    time_ += len;
    return true;
  }

  bool Emit(float note, double len, Drum drum, std::string* error) {
    if (patch_ < 0) {
      *error = "a note before any @patch";
      return false;
    }
    NoteEvent e;
    e.start = time_;
    e.length = len * gate_;
    e.note = note;
    e.velocity = velocity_;
    e.patch = patch_;
    e.drum = drum;
    e.seed = HashSeed(track_, ordinal_++, 0x5EED);
    if (drum == Drum::kNone) last_.push_back(events_->size());
    events_->push_back(e);
    return true;
  }

  bool SelectPatch(std::string* error) {
    std::string name;
    while (pos_ < s_.size() &&
           (std::isalnum(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '_')) {
      name += s_[pos_++];
    }
    const auto it = patches_.find(name);
    if (it == patches_.end()) {
      *error = "unknown patch '" + name + "'";
      return false;
    }
    patch_ = it->second;
    return true;
  }

  const std::string& s_;
  const std::map<std::string, int>& patches_;
  uint32_t track_;
  std::vector<NoteEvent>* events_;
  size_t pos_ = 0;
  int octave_ = 4, transpose_ = 0, patch_ = -1;
  uint32_t ordinal_ = 0;
  double defaultLength_ = 1.0, gate_ = 0.875, time_ = 0.0, loop_ = -1.0, lastNominal_ = 0.0;
  float velocity_ = 0.8f;
  std::vector<size_t> last_;  // events a '^' would lengthen
};

bool ParseKeyValues(std::istringstream& words, const std::map<std::string, float*>& fields,
                    std::string* bad) {
  std::string word;
  while (words >> word) {
    const size_t eq = word.find('=');
    float v;
    const auto it = eq == std::string::npos ? fields.end() : fields.find(word.substr(0, eq));
    if (it == fields.end() || !ToFloat(word.substr(eq + 1), &v)) {
      *bad = word;
      return false;
    }
    *it->second = v;
  }
  return true;
}

// Replaces every $name with its phrase's notes; phrases may use phrases
// defined anywhere in the score, up to a depth that stops self-reference.
bool SubstitutePhrases(const std::string& text, const std::map<std::string, std::string>& phrases,
                       int depth, std::string* out, std::string* error) {
  if (depth > 8) {
    *error = "phrases nested too deep (one may use itself)";
    return false;
  }
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '$') {
      *out += text[i];
      continue;
    }
    size_t end = i + 1;
    while (end < text.size() &&
           (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_'))
      ++end;
    const std::string name = text.substr(i + 1, end - i - 1);
    const auto it = phrases.find(name);
    if (it == phrases.end()) {
      *error = "unknown phrase '$" + name + "'";
      return false;
    }
    *out += ' ';
    if (!SubstitutePhrases(it->second, phrases, depth + 1, out, error)) return false;
    *out += ' ';
    i = end - 1;
  }
  return true;
}

}  // namespace

int64_t BeatToSample(const Score& score, double beat) {
  return std::llround(beat * 60.0 / score.tempo * kRate);
}

bool ParseScore(const std::string& text, Score* score, std::string* error) {
  *score = Score{};
  std::vector<std::pair<std::string, std::string>> tracks;  // name, notes
  std::map<std::string, std::string> phrases;
  std::string* notes = nullptr;  // where note lines go: the last track or phrase
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::string word;
    if (!(words >> word)) continue;
    const std::string where = "line " + std::to_string(lineNo) + ": ";
    std::string bad;
    if (word == "tempo") {
      float t;
      if (!(words >> word) || !ToFloat(word, &t) || t < 20.0f || t > 400.0f) {
        *error = where + "tempo needs beats per minute (20..400)";
        return false;
      }
      score->tempo = t;
    } else if (word == "reverb") {
      if (!ParseKeyValues(words,
                          {{"size", &score->reverbSize},
                           {"damp", &score->reverbDamp},
                           {"level", &score->reverbLevel}},
                          &bad)) {
        *error = where + "bad reverb setting '" + bad + "'";
        return false;
      }
    } else if (word == "delay") {
      float beats = static_cast<float>(score->delayBeats);
      if (!ParseKeyValues(words, {{"beats", &beats}, {"feedback", &score->delayFeedback}}, &bad) ||
          beats <= 0.0f || beats > 4.0f || score->delayFeedback >= 0.95f) {
        *error = where + "bad delay setting";
        return false;
      }
      score->delayBeats = beats;
    } else if (word == "patch") {
      Patch p;
      if (!(words >> p.name)) {
        *error = where + "patch needs a name";
        return false;
      }
      while (words >> word) {
        const size_t eq = word.find('=');
        if (eq == std::string::npos ||
            !SetPatchField(&p, word.substr(0, eq), word.substr(eq + 1))) {
          *error = where + "bad patch setting '" + word + "'";
          return false;
        }
      }
      score->patches.push_back(p);
    } else if (word == "track") {
      std::string name;
      if (!(words >> name)) {
        *error = where + "track needs a name";
        return false;
      }
      tracks.emplace_back(name, "");
      notes = &tracks.back().second;
    } else if (word == "phrase") {
      std::string name;
      if (!(words >> name) || phrases.count(name)) {
        *error = where + "phrase needs a name of its own";
        return false;
      }
      notes = &phrases[name];
    } else {
      if (!notes) {
        *error = where + "notes outside a track";
        return false;
      }
      *notes += line + "\n";
    }
  }
  std::map<std::string, int> patchIndex;
  for (size_t i = 0; i < score->patches.size(); ++i) {
    patchIndex[score->patches[i].name] = static_cast<int>(i);
  }
  if (tracks.empty()) {
    *error = "no tracks";
    return false;
  }
  double loop = -1.0;
  for (size_t t = 0; t < tracks.size(); ++t) {
    const std::string where = "track " + tracks[t].first + ": ";
    std::string substituted, expanded;
    size_t pos = 0;
    if (!SubstitutePhrases(tracks[t].second, phrases, 0, &substituted, error) ||
        !ExpandRepeats(substituted, &pos, false, &expanded, error)) {
      *error = where + *error;
      return false;
    }
    TrackResult r;
    MmlParser parser(expanded, patchIndex, static_cast<uint32_t>(t + 1), &score->events);
    if (!parser.Run(&r, error)) {
      *error = where + *error;
      return false;
    }
    // Every track must end together, or the loop would drift apart.
    if (t > 0 && std::fabs(r.end - score->endBeat) > 1e-9) {
      std::ostringstream msg;
      msg << where << "lasts " << r.end << " beats, the first track " << score->endBeat;
      *error = msg.str();
      return false;
    }
    score->endBeat = r.end;
    if (r.loop >= 0.0) {
      if (loop >= 0.0 && std::fabs(r.loop - loop) > 1e-9) {
        std::ostringstream msg;
        msg << where << "loop marker at beat " << r.loop << ", another track has it at " << loop;
        *error = msg.str();
        return false;
      }
      loop = r.loop;
    }
  }
  score->loopBeat = loop >= 0.0 ? loop : 0.0;
  if (score->endBeat - score->loopBeat <= 0.0) {
    *error = "the loop is empty";
    return false;
  }
  return true;
}

}  // namespace audio
