// The score language, the loop rendering, the music list writer and the
// effect generator of the content build.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "Dsp.h"
#include "Loudness.h"
#include "MusicList.h"
#include "Score.h"
#include "Sfx.h"
#include "Synth.h"

namespace {

using audio::Score;

const char* const kPatch = "patch p wave=sine attack=0.001 decay=0.1 sustain=1 release=0.01\n";

Score Parse(const std::string& text) {
  Score s;
  std::string error;
  EXPECT_TRUE(audio::ParseScore(kPatch + text, &s, &error)) << error;
  return s;
}

std::string ParseError(const std::string& text) {
  Score s;
  std::string error;
  EXPECT_FALSE(audio::ParseScore(kPatch + text, &s, &error));
  return error;
}

TEST(ScoreLanguage, NotesLengthsOctavesAndTheLoopMarker) {
  const Score s = Parse("tempo 120\ntrack a\n@p o4 l8 a4 r4 | > c+ < b-4. q8 {ceg}2 ^4 L c1\n");
  ASSERT_EQ(s.events.size(), 7u);
  EXPECT_FLOAT_EQ(s.events[0].note, 69.0f);     // o4 a
  EXPECT_DOUBLE_EQ(s.events[0].length, 0.875);  // a quarter at the default articulation
  EXPECT_DOUBLE_EQ(s.events[1].start, 2.0);     // after the rest
  EXPECT_FLOAT_EQ(s.events[1].note, 73.0f);     // o5 c+ with the default eighth
  EXPECT_DOUBLE_EQ(s.events[2].start, 2.5);
  EXPECT_FLOAT_EQ(s.events[2].note, 70.0f);  // back to o4, b flat
  EXPECT_DOUBLE_EQ(s.events[3].start, 4.0);  // after a dotted quarter
  // The chord's three notes sound together and the tie lengthens all of them.
  for (int i = 3; i < 6; ++i) {
    EXPECT_DOUBLE_EQ(s.events[i].start, 4.0);
    EXPECT_DOUBLE_EQ(s.events[i].length, 3.0);
  }
  EXPECT_DOUBLE_EQ(s.loopBeat, 7.0);
  EXPECT_DOUBLE_EQ(s.endBeat, 11.0);
  EXPECT_EQ(audio::BeatToSample(s, s.loopBeat), 7 * 22050);
}

TEST(ScoreLanguage, RepeatsNestAndStopAtTheColonOnTheLastPass) {
  const Score s = Parse("track a\n@p l4 [c [d]2 : e]3\n");
  std::string notes;
  for (const auto& e : s.events) notes += "cde"[(static_cast<int>(e.note) - 60) / 2];
  EXPECT_EQ(notes, "cddecddecdd");
  EXPECT_DOUBLE_EQ(s.endBeat, 11.0);
  EXPECT_DOUBLE_EQ(s.loopBeat, 0.0);  // no marker: the whole score loops
  // A phrase stands for its notes wherever it is used, inside repeats too,
  // and may use other phrases.
  const Score p = Parse("phrase x\nc4$y\nphrase y\nd4\ntrack a\n@p [$x]2 $y\n");
  notes.clear();
  for (const auto& e : p.events) notes += "cde"[(static_cast<int>(e.note) - 60) / 2];
  EXPECT_EQ(notes, "cdcdd");
}

TEST(ScoreLanguage, DrumsTakeThePatchAndNoPitchedLength) {
  const Score s = Parse("track d\n@p K8 S8 H16 O16 r8 C2\n");
  ASSERT_EQ(s.events.size(), 5u);
  EXPECT_EQ(s.events[0].drum, audio::Drum::kKick);
  EXPECT_EQ(s.events[4].drum, audio::Drum::kCrash);
  EXPECT_DOUBLE_EQ(s.events[4].start, 2.0);
}

TEST(ScoreLanguage, MistakesAreReportedWithTheirPlace) {
  EXPECT_NE(ParseError("track a\n@p c4\ntrack b\n@p c4 d4\n").find("track b"), std::string::npos);
  EXPECT_NE(ParseError("track a\n@p c4 L d4\ntrack b\n@p c4 d4 L\n").find("loop marker"),
            std::string::npos);
  EXPECT_NE(ParseError("track a\n@q c4\n").find("unknown patch"), std::string::npos);
  EXPECT_NE(ParseError("track a\nc4\n").find("before any @patch"), std::string::npos);
  EXPECT_NE(ParseError("track a\n@p [c4 L]2\n").find("two loop markers"), std::string::npos);
  EXPECT_NE(ParseError("track a\n@p [c4\n").find("'['"), std::string::npos);
  EXPECT_NE(ParseError("track a\n@p c4 x\n").find("unexpected 'x'"), std::string::npos);
  EXPECT_NE(ParseError("patch z wave=organ\n").find("line 2"), std::string::npos);
  EXPECT_NE(ParseError("track a\n@p c4 L\n").find("empty"), std::string::npos);
  EXPECT_NE(ParseError("track a\n@p $nope\n").find("unknown phrase"), std::string::npos);
  EXPECT_NE(ParseError("phrase a\n$a\ntrack a\n@p $a\n").find("too deep"), std::string::npos);
}

TEST(LoopRendering, TailsThatRunPastTheEndSoundAtTheLoopStart) {
  // One bar of intro, one bar of loop whose only note sits on the last beat
  // and rings on with a long release and reverb.
  Score s;
  std::string error;
  ASSERT_TRUE(audio::ParseScore(
      "tempo 120\nreverb size=0.8 level=1\n"
      "patch p wave=triangle attack=0.001 decay=0.1 sustain=0.8 release=0.8 reverb=0.5\n"
      "track a\n@p o4 c1 L r2. a4\n",
      &s, &error))
      << error;
  const audio::RenderedTrack t = audio::RenderScore(s);
  ASSERT_EQ(t.loopStart, 88200);
  ASSERT_EQ(t.frames, 2 * 88200);
  ASSERT_EQ(t.stereo.size(), static_cast<size_t>(t.frames) * 2);
  // Nothing starts at the loop point, yet the last note's tail is there.
  float early = 0.0f;
  for (int64_t f = t.loopStart; f < t.loopStart + 4410; ++f) {
    early = std::max(early, std::fabs(t.stereo[2 * f]));
  }
  EXPECT_GT(early, 0.01f);
  // The wrap from the last frame to the loop point is a normal step.
  float maxStep = 0.0f;
  for (int64_t f = t.frames - 2000; f < t.frames; ++f) {
    maxStep = std::max(maxStep, std::fabs(t.stereo[2 * f] - t.stereo[2 * (f - 1)]));
  }
  EXPECT_LE(std::fabs(t.stereo[2 * t.loopStart] - t.stereo[2 * (t.frames - 1)]), maxStep);
  float peak = 0.0f;
  for (float x : t.stereo) peak = std::max(peak, std::fabs(x));
  EXPECT_LE(peak, 0.8f + 1e-6f);
}

TEST(Level, TheMeterReadsLikeABroadcastMeterAndRendersLandOnTheTarget) {
  // A 997 Hz sine of amplitude 0.1 in both channels reads -20 LUFS, and
  // silence after it does not pull the reading down (the gates).
  std::vector<float> tone;
  for (int i = 0; i < 5 * audio::kRate; ++i) {
    const float x =
        0.1f * static_cast<float>(std::sin(2.0 * audio::kPi * 997.0 * i / audio::kRate));
    tone.insert(tone.end(), {x, x});
  }
  EXPECT_NEAR(audio::IntegratedLoudness(tone), -20.0, 0.1);
  std::vector<float> withSilence = tone;
  withSilence.resize(tone.size() + 20 * audio::kRate, 0.0f);
  EXPECT_NEAR(audio::IntegratedLoudness(withSilence), -20.0, 0.2);
  EXPECT_LE(audio::IntegratedLoudness(std::vector<float>(4 * audio::kRate, 0.0f)), -70.0);

  // A quarter-rate sine sampled at 45 degrees never shows its crest in the
  // samples (0.707) but the true peak finds it.
  std::vector<float> quarter;
  for (int i = 0; i < 4096; ++i) {
    const float x = static_cast<float>(std::sin(audio::kPi * (i / 2.0 + 0.25)));
    quarter.insert(quarter.end(), {x, x});
  }
  EXPECT_NEAR(audio::TruePeak(quarter), 1.0, 0.02);

  // A loud driven bass with hard kicks comes out at the one target level,
  // its peaks under the ceiling.
  Score s;
  std::string error;
  ASSERT_TRUE(
      audio::ParseScore("tempo 150\n"
                        "patch b wave=saw drive=0.8 hp=60 lfo=1 lforate=2 cutoff=900 volume=1.5\n"
                        "patch k volume=3\n"
                        "track a\n@b o2 l8 [e e > e < e]4 L [g g > g < g]8\n"
                        "track d\n@k [K4 S4]4 L [K4 S4 K8 K8 S4]4\n",
                        &s, &error))
      << error;
  const audio::RenderedTrack t = audio::RenderScore(s);
  EXPECT_NEAR(audio::IntegratedLoudness(t.stereo), audio::kTargetLoudness, 0.1);
  EXPECT_LE(audio::ToDb(audio::TruePeak(t.stereo)), audio::kMaxTruePeakDb + 0.01);
}

TEST(MusicListWriter, WritesTabsAndCrLfAndRefusesFieldsTheGameWouldMisread) {
  std::vector<audio::BgmEntry> entries;
  std::string error;
  ASSERT_TRUE(audio::ParseTrackList("# music\n0 title The Title\n1 stage1  Flight  One\n", &entries,
                                    &error))
      << error;
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].title, "Flight One");
  entries[1].loopPoint = 306783;
  std::string out;
  ASSERT_TRUE(audio::FormatBgmList(entries, &out, &error)) << error;
  EXPECT_NE(out.find("\r\ntitle.ogg\t0\tThe Title\r\nstage1.ogg\t306783\tFlight One\r\n"),
            std::string::npos);
  EXPECT_EQ(out[0], '/');  // the heading is a comment line

  entries[0].title = std::string(63, 'x');
  EXPECT_TRUE(audio::FormatBgmList(entries, &out, &error));
  entries[0].title = std::string(64, 'x');
  EXPECT_FALSE(audio::FormatBgmList(entries, &out, &error));
  entries[0].title = "Either/Or";
  EXPECT_FALSE(audio::FormatBgmList(entries, &out, &error));

  EXPECT_FALSE(audio::ParseTrackList("0 a\n2 b\n", &entries, &error));
  EXPECT_NE(error.find("line 2"), std::string::npos);
  EXPECT_FALSE(audio::ParseTrackList("# nothing\n", &entries, &error));
}

TEST(EffectGenerator, ScalesToItsPeakAndEndsInSilence) {
  audio::SfxRecipe recipe;
  std::string error;
  ASSERT_TRUE(
      audio::ParseSfx("peak 0.5\nlayer wave=square freq=440 freq_end=220 dur=0.1 release=0.05\n"
                      "layer wave=noise freq=0 start=0.05 dur=0.05 lp=3000 seed=4\n",
                      &recipe, &error))
      << error;
  const std::vector<float> a = audio::RenderSfx(recipe);
  ASSERT_GT(a.size(), 4410u);
  EXPECT_LT(a.size(), 44100u / 4);
  float peak = 0.0f;
  for (float x : a) peak = std::max(peak, std::fabs(x));
  EXPECT_NEAR(peak, 0.5f, 1e-4f);
  EXPECT_LT(std::fabs(a.back()), 1e-3f);
  EXPECT_EQ(audio::RenderSfx(recipe), a);  // same seed, same samples

  EXPECT_FALSE(audio::ParseSfx("layer wave=square bogus=1\n", &recipe, &error));
  EXPECT_NE(error.find("bogus"), std::string::npos);
  EXPECT_FALSE(audio::ParseSfx("peak 2\nlayer\n", &recipe, &error));
  EXPECT_FALSE(audio::ParseSfx("# only a comment\n", &recipe, &error));
}

TEST(SineTable, PhasesJustBelowAWholeTurnStayInTheTable) {
  // -1e-9 wraps to exactly 1.0f: the table's last entry must not be read past.
  EXPECT_NEAR(audio::SinTurns(-1e-9f), 0.0f, 1e-3f);
  EXPECT_NEAR(audio::SinTurns(0.25f), 1.0f, 1e-4f);
  EXPECT_NEAR(audio::SinTurns(-0.25f), -1.0f, 1e-4f);
}

}  // namespace
