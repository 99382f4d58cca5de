#include "SoftSpans.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define VELMORA_SOFT_SSE2 1
#endif

namespace engine::soft {
namespace {

// --- pixel arithmetic: one pixel's B, G, R, A in 16-bit lanes -------------

#ifdef VELMORA_SOFT_SSE2
using Lanes = __m128i;
inline Lanes Unpack(uint32_t p) {
  return _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(p)), _mm_setzero_si128());
}
inline uint32_t Pack(Lanes v) {
  return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(v, v)));
}
inline Lanes Splat(int v) { return _mm_set1_epi16(static_cast<short>(v)); }
inline Lanes Channels(int b, int g, int r, int a) {
  return _mm_setr_epi16(static_cast<short>(b), static_cast<short>(g), static_cast<short>(r),
                        static_cast<short>(a), 0, 0, 0, 0);
}
inline Lanes Add(Lanes a, Lanes b) { return _mm_add_epi16(a, b); }
inline Lanes SubSat(Lanes a, Lanes b) { return _mm_subs_epu16(a, b); }
inline Lanes Mul(Lanes a, Lanes b) { return _mm_mullo_epi16(a, b); }
inline Lanes Shr8(Lanes a) { return _mm_srli_epi16(a, 8); }
inline Lanes AlphaOf(Lanes p) { return _mm_shufflelo_epi16(p, _MM_SHUFFLE(3, 3, 3, 3)); }
// Two neighbouring texels, widened: the first in lanes 0-3, the second in 4-7.
inline Lanes Pair(const uint32_t* p) {
  return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)),
                           _mm_setzero_si128());
}
// The first texel of a pair weighted by 256 - f, the second by f, rounded.
inline Lanes LerpPair(Lanes pair, int f) {
  const Lanes w = _mm_unpacklo_epi64(Splat(256 - f), Splat(f));
  const Lanes m = Mul(pair, w);
  return Shr8(Add(Add(m, _mm_srli_si128(m, 8)), Splat(128)));
}
inline Lanes Lerp2(Lanes a, Lanes b, int f) {
  return Shr8(Add(Add(Mul(a, Splat(256 - f)), Mul(b, Splat(f))), Splat(128)));
}
#else
struct Lanes {
  uint16_t c[8];
};
inline Lanes Unpack(uint32_t p) {
  return Lanes{{static_cast<uint16_t>(p & 0xFF), static_cast<uint16_t>(p >> 8 & 0xFF),
                static_cast<uint16_t>(p >> 16 & 0xFF), static_cast<uint16_t>(p >> 24), 0, 0, 0, 0}};
}
inline uint32_t Pack(Lanes v) {
  uint32_t out = 0;
  for (int i = 0; i < 4; ++i) out |= static_cast<uint32_t>(std::min<int>(v.c[i], 255)) << (8 * i);
  return out;
}
inline Lanes Splat(int v) {
  Lanes out;
  std::fill(out.c, out.c + 8, static_cast<uint16_t>(v));
  return out;
}
inline Lanes Channels(int b, int g, int r, int a) {
  return Lanes{{static_cast<uint16_t>(b), static_cast<uint16_t>(g), static_cast<uint16_t>(r),
                static_cast<uint16_t>(a), 0, 0, 0, 0}};
}
template <typename Op>
inline Lanes Each(Lanes a, Lanes b, Op op) {
  for (int i = 0; i < 8; ++i) a.c[i] = static_cast<uint16_t>(op(a.c[i], b.c[i]));
  return a;
}
inline Lanes Add(Lanes a, Lanes b) {
  return Each(a, b, [](unsigned x, unsigned y) { return x + y; });
}
inline Lanes SubSat(Lanes a, Lanes b) {
  return Each(a, b, [](unsigned x, unsigned y) { return x > y ? x - y : 0u; });
}
inline Lanes Mul(Lanes a, Lanes b) {
  return Each(a, b, [](unsigned x, unsigned y) { return x * y; });
}
inline Lanes Shr8(Lanes a) {
  for (auto& c : a.c) c = static_cast<uint16_t>(c >> 8);
  return a;
}
inline Lanes AlphaOf(Lanes p) { return Splat(p.c[3]); }
inline Lanes Pair(const uint32_t* p) {
  const Lanes a = Unpack(p[0]), b = Unpack(p[1]);
  return Lanes{{a.c[0], a.c[1], a.c[2], a.c[3], b.c[0], b.c[1], b.c[2], b.c[3]}};
}
inline Lanes Lerp2(Lanes a, Lanes b, int f) {
  return Shr8(Add(Add(Mul(a, Splat(256 - f)), Mul(b, Splat(f))), Splat(128)));
}
inline Lanes LerpPair(Lanes pair, int f) {
  Lanes hi = pair;
  for (int i = 0; i < 4; ++i) hi.c[i] = pair.c[i + 4];
  return Lerp2(pair, hi, f);
}
#endif

// x / 255 rounded to nearest, for 0 <= x <= 255 * 255.
inline Lanes Div255(Lanes x) {
  x = Add(x, Splat(128));
  return Shr8(Add(x, Shr8(x)));
}

// --- spans ------------------------------------------------------------------

inline Lanes ColourAt(const Span& sp, const int32_t c[4]) {
  if (!sp.gouraud) return Channels(c[0], c[1], c[2], c[3]);
  auto channel = [](int32_t v) { return std::clamp((v + 0x8000) >> 16, 0, 255); };
  return Channels(channel(c[0]), channel(c[1]), channel(c[2]), channel(c[3]));
}

// The texel(s) a sample reads: one for nearest, the top-left of four for
// bilinear. Positions are clamped to the border, which repeats the edge.
template <Source S, bool Clamp>
inline const uint32_t* TexelsAt(const Span& sp, int32_t s, int32_t t) {
  if constexpr (Clamp) {
    s = std::clamp(s, -0x10000, sp.sMax);
    t = std::clamp(t, -0x10000, sp.tMax);
  }
  if constexpr (S == Source::Nearest) {
    return sp.texels + static_cast<ptrdiff_t>((t + 0x8000) >> 16) * sp.pitch + ((s + 0x8000) >> 16);
  } else {
    return sp.texels + static_cast<ptrdiff_t>(t >> 16) * sp.pitch + (s >> 16);
  }
}

// Whether the sample is fully transparent: then it changes nothing in any
// blended mode (multiplied colours come with their alpha already applied).
template <Source S>
inline bool Invisible(const Span& sp, const uint32_t* p) {
  if constexpr (S == Source::Nearest) {
    return *p < 0x01000000u;
  } else {
    return (p[0] | p[1] | p[sp.pitch] | p[sp.pitch + 1]) < 0x01000000u;
  }
}

// Whether the sample is fully opaque: drawn over the picture at full
// alpha, it simply replaces the pixel.
template <Source S>
inline bool Solid(const Span& sp, const uint32_t* p) {
  if constexpr (S == Source::Nearest) {
    return *p >= 0xFF000000u;
  } else {
    return (p[0] & p[1] & p[sp.pitch] & p[sp.pitch + 1]) >= 0xFF000000u;
  }
}

template <Source S>
inline Lanes Sample(const Span& sp, const uint32_t* p, int32_t s, int32_t t) {
  if constexpr (S == Source::Nearest) {
    return Unpack(*p);
  } else {
    // Within the clamp the weights are the position's fraction; at the
    // clamp, both texels read are the edge one and the weight is moot.
    return LerpPair(Lerp2(Pair(p), Pair(p + sp.pitch), t >> 8 & 0xFF), s >> 8 & 0xFF);
  }
}

template <Blend B>
inline uint32_t Combine(Lanes src, uint32_t dstPixel) {
  if constexpr (B == Blend::Replace) {
    return Pack(src);
  } else {
    const Lanes dst = Unpack(dstPixel);
    const Lanes a = AlphaOf(src);
    if constexpr (B == Blend::Over) {
      return Pack(Div255(Add(Mul(src, a), Mul(dst, SubSat(Splat(255), a)))));
    } else if constexpr (B == Blend::Add) {
      return Pack(Add(dst, Div255(Mul(src, a))));
    } else if constexpr (B == Blend::Subtract) {
      return Pack(SubSat(dst, Div255(Mul(src, a))));
    } else {
      return Pack(Add(Div255(Mul(src, dst)), Div255(Mul(dst, SubSat(Splat(255), a)))));
    }
  }
}

template <Source S, Blend B, bool Clamp, bool Gouraud>
void SpanLoop(const Span& in) {
  Span sp = in;
  int32_t c[4] = {sp.c[0], sp.c[1], sp.c[2], sp.c[3]};
  for (int i = 0; i < sp.count; ++i) {
    if constexpr (S == Source::Colour) {
      sp.dst[i] = Combine<B>(ColourAt(sp, c), sp.dst[i]);
    } else {
      const uint32_t* p = TexelsAt<S, Clamp>(sp, sp.s, sp.t);
      if (B == Blend::Replace || !Invisible<S>(sp, p)) {
        Lanes src = Sample<S>(sp, p, sp.s, sp.t);
        if (!sp.white) src = Div255(Mul(src, ColourAt(sp, c)));
        const bool replaces = B == Blend::Over && sp.solidColour && Solid<S>(sp, p);
        sp.dst[i] = replaces ? Pack(src) : Combine<B>(src, sp.dst[i]);
      }
      sp.s += sp.ds;
      sp.t += sp.dt;
    }
    if constexpr (Gouraud) {
      for (int k = 0; k < 4; ++k) c[k] += sp.dc[k];
    }
  }
}

// Whether a texture position stepping along the span stays where no clamp
// is needed.
bool Within(int32_t first, int32_t step, int count, int32_t most) {
  const int64_t last = first + int64_t{step} * (count - 1);
  return std::min<int64_t>(first, last) >= -0x10000 && std::max<int64_t>(first, last) <= most;
}

template <Source S, Blend B>
void DrawSpan(const Span& sp) {
  const bool clamp = S != Source::Colour && (!Within(sp.s, sp.ds, sp.count, sp.sMax) ||
                                             !Within(sp.t, sp.dt, sp.count, sp.tMax));
  if (sp.gouraud) {
    clamp ? SpanLoop<S, B, true, true>(sp) : SpanLoop<S, B, false, true>(sp);
  } else {
    clamp ? SpanLoop<S, B, true, false>(sp) : SpanLoop<S, B, false, false>(sp);
  }
}

// Texel for texel onto pixels (unscaled, unturned, within the texture), in
// one colour: no positions to clamp or round.
template <Blend B>
void RowSpan(const Span& sp) {
  // Positions lie on texel centres to within rounding, either side.
  const uint32_t* from = sp.texels + static_cast<ptrdiff_t>((sp.t + 0x8000) >> 16) * sp.pitch +
                         ((sp.s + 0x8000) >> 16);
  if (B == Blend::Replace && sp.white) {
    std::memcpy(sp.dst, from, sizeof(uint32_t) * static_cast<size_t>(sp.count));
    return;
  }
  const Lanes colour = ColourAt(sp, sp.c);
  for (int i = 0; i < sp.count; ++i) {
    if (B != Blend::Replace && from[i] < 0x01000000u) continue;
    if (B == Blend::Over && sp.white && from[i] >= 0xFF000000u) {
      sp.dst[i] = from[i];
      continue;
    }
    Lanes src = Unpack(from[i]);
    if (!sp.white) src = Div255(Mul(src, colour));
    const bool replaces = B == Blend::Over && sp.solidColour && from[i] >= 0xFF000000u;
    sp.dst[i] = replaces ? Pack(src) : Combine<B>(src, sp.dst[i]);
  }
}

template <Source S>
SpanFn SpanOf(Blend blend) {
  switch (blend) {
    case Blend::Replace:
      return DrawSpan<S, Blend::Replace>;
    case Blend::Over:
      return DrawSpan<S, Blend::Over>;
    case Blend::Add:
      return DrawSpan<S, Blend::Add>;
    case Blend::Subtract:
      return DrawSpan<S, Blend::Subtract>;
    case Blend::Multiply:
      return DrawSpan<S, Blend::Multiply>;
  }
  return DrawSpan<S, Blend::Over>;
}

}  // namespace

SpanFn RowSpanFor(Blend blend) {
  switch (blend) {
    case Blend::Replace:
      return RowSpan<Blend::Replace>;
    case Blend::Over:
      return RowSpan<Blend::Over>;
    case Blend::Add:
      return RowSpan<Blend::Add>;
    case Blend::Subtract:
      return RowSpan<Blend::Subtract>;
    case Blend::Multiply:
      return RowSpan<Blend::Multiply>;
  }
  return RowSpan<Blend::Over>;
}

SpanFn SpanFor(Source source, Blend blend) {
  switch (source) {
    case Source::Colour:
      return SpanOf<Source::Colour>(blend);
    case Source::Nearest:
      return SpanOf<Source::Nearest>(blend);
    case Source::Linear:
      return SpanOf<Source::Linear>(blend);
  }
  return SpanOf<Source::Colour>(blend);
}

}  // namespace engine::soft
