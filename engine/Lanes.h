// Four 32-bit lanes in one SSE2 register, one lane per delay line (or four consecutive samples
// of one line). Every operation is the plain IEEE operation lane by lane, rounded as the scalar
// one is, so a lane computes bit for bit what the scalar code computes in the same order.
// SSE2 is on every target, the 32-bit x86 builds included.
#pragma once

#include <emmintrin.h>

#include <cfloat>
#include <cstdint>

// The loops over lanes, with all they call inlined, are built twice where the loader can choose
// (x86-64 ELF): once with AVX's three-operand forms, which spare SSE2's register copies, and
// once for plain SSE2; the machine's processor picks one when the module loads. Both run the
// same IEEE operations in the same order, with no fused multiply-add, so the samples are equal.
#if defined(__x86_64__) && defined(__ELF__)
#define VELTRANE_LANE_LOOPS __attribute__((target_clones("avx", "default"), flatten))
#else
#define VELTRANE_LANE_LOOPS
#endif

namespace engine {

// All ones or all zeros per lane, as the comparisons give it.
struct Mask {
    __m128 bits;

    friend Mask operator&(Mask a, Mask b) noexcept { return {_mm_and_ps(a.bits, b.bits)}; }
    friend Mask operator|(Mask a, Mask b) noexcept { return {_mm_or_ps(a.bits, b.bits)}; }
    // Lanes of a that are not set in b.
    static Mask andNot(Mask a, Mask b) noexcept { return {_mm_andnot_ps(b.bits, a.bits)}; }
    static Mask all() noexcept { return {_mm_castsi128_ps(_mm_set1_epi32(-1))}; }
    bool none() const noexcept { return _mm_movemask_ps(bits) == 0; }
};

class Lanes {
public:
    static constexpr int kCount = 4;

    Lanes() noexcept : v(_mm_setzero_ps()) {}
    explicit Lanes(__m128 value) noexcept : v(value) {}
    // The same value in every lane; implicit so that constants read as in the scalar formulas.
    Lanes(float value) noexcept : v(_mm_set1_ps(value)) {}
    Lanes(float lane0, float lane1, float lane2, float lane3) noexcept
        : v(_mm_setr_ps(lane0, lane1, lane2, lane3)) {}

    // p aligned to 16 bytes.
    static Lanes load(const float* p) noexcept { return Lanes(_mm_load_ps(p)); }
    static Lanes loadUnaligned(const float* p) noexcept { return Lanes(_mm_loadu_ps(p)); }
    void store(float* p) const noexcept { _mm_store_ps(p, v); }
    void storeUnaligned(float* p) const noexcept { _mm_storeu_ps(p, v); }

    float first() const noexcept { return _mm_cvtss_f32(v); }
    // Lane i's value in every lane.
    template <int Lane> Lanes spread() const noexcept {
        return Lanes(_mm_shuffle_ps(v, v, _MM_SHUFFLE(Lane, Lane, Lane, Lane)));
    }

    friend Lanes operator+(Lanes a, Lanes b) noexcept { return Lanes(_mm_add_ps(a.v, b.v)); }
    friend Lanes operator-(Lanes a, Lanes b) noexcept { return Lanes(_mm_sub_ps(a.v, b.v)); }
    friend Lanes operator*(Lanes a, Lanes b) noexcept { return Lanes(_mm_mul_ps(a.v, b.v)); }
    friend Lanes operator/(Lanes a, Lanes b) noexcept { return Lanes(_mm_div_ps(a.v, b.v)); }
    Lanes operator-() const noexcept { return Lanes(_mm_xor_ps(v, signBit())); }
    Lanes& operator+=(Lanes b) noexcept { return *this = *this + b; }

    // Comparisons are false for NaN, as in scalar code.
    friend Mask operator<(Lanes a, Lanes b) noexcept { return {_mm_cmplt_ps(a.v, b.v)}; }
    friend Mask operator<=(Lanes a, Lanes b) noexcept { return {_mm_cmple_ps(a.v, b.v)}; }
    friend Mask operator>(Lanes a, Lanes b) noexcept { return {_mm_cmpgt_ps(a.v, b.v)}; }
    friend Mask operator>=(Lanes a, Lanes b) noexcept { return {_mm_cmpge_ps(a.v, b.v)}; }

    // a where the mask is set, else +0.
    friend Lanes operator&(Lanes a, Mask m) noexcept { return Lanes(_mm_and_ps(a.v, m.bits)); }
    // Lanes that are +0 in one operand take the other's bits.
    friend Lanes operator|(Lanes a, Lanes b) noexcept { return Lanes(_mm_or_ps(a.v, b.v)); }
    friend Lanes operator^(Lanes a, Lanes b) noexcept { return Lanes(_mm_xor_ps(a.v, b.v)); }

    // |a|, the sign bit cleared (NaN stays NaN).
    Lanes magnitude() const noexcept { return Lanes(_mm_andnot_ps(signBit(), v)); }
    // The sign bit alone.
    Lanes sign() const noexcept { return Lanes(_mm_and_ps(signBit(), v)); }

    __m128 v;

private:
    static __m128 signBit() noexcept { return _mm_set1_ps(-0.0f); }
};

// where ? a : b, lane by lane.
inline Lanes select(Mask where, Lanes a, Lanes b) noexcept {
    // b with the bits that differ from a flipped where the mask is set: one copy fewer than
    // (a & m) | (b & ~m) in two-operand code.
    return Lanes(_mm_xor_ps(b.v, _mm_and_ps(_mm_xor_ps(a.v, b.v), where.bits)));
}

// a < b ? a : b; b where either is NaN.
inline Lanes minimum(Lanes a, Lanes b) noexcept {
    return Lanes(_mm_min_ps(a.v, b.v));
}

// a < b ? b : a, as `if (a < b) a = b;` (a NaN in a stays).
inline Lanes raiseTo(Lanes a, Lanes b) noexcept {
    return Lanes(_mm_max_ps(b.v, a.v));
}

// x where it is finite, else +0.
inline Lanes finiteOrZero(Lanes x) noexcept {
    return x & (x.magnitude() <= Lanes(FLT_MAX));
}

// trunc(x), exact for |x| < 2^31.
inline Lanes truncated(Lanes x) noexcept {
    return Lanes(_mm_cvtepi32_ps(_mm_cvttps_epi32(x.v)));
}

// x within 0..1, as SafeConversion::unitRange; NaN gives 0.
inline Lanes unitRange(Lanes x) noexcept {
    const Lanes below = select(x > Lanes(1.0f), Lanes(1.0f), x);
    return below & (below >= Lanes(0.0f));
}

// x where it is a number, else +0: finiteOrZero for values that cannot be infinite.
inline Lanes nanToZero(Lanes x) noexcept {
    return Lanes(_mm_and_ps(x.v, _mm_cmpord_ps(x.v, x.v)));
}

// Rows become columns: a 4 x 4 block of floats turned between line order and time order.
inline void transpose(Lanes& r0, Lanes& r1, Lanes& r2, Lanes& r3) noexcept {
    _MM_TRANSPOSE4_PS(r0.v, r1.v, r2.v, r3.v);
}

// Four 32-bit integers, for counters that run beside float lanes.
class IntLanes {
public:
    IntLanes() noexcept : v(_mm_setzero_si128()) {}
    explicit IntLanes(__m128i value) noexcept : v(value) {}
    IntLanes(std::int32_t value) noexcept : v(_mm_set1_epi32(value)) {}
    IntLanes(std::int32_t lane0, std::int32_t lane1, std::int32_t lane2,
             std::int32_t lane3) noexcept
        : v(_mm_setr_epi32(lane0, lane1, lane2, lane3)) {}

    static IntLanes loadUnaligned(const std::int32_t* p) noexcept {
        return IntLanes(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    }
    void storeUnaligned(std::int32_t* p) const noexcept {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
    }

    // Exact while |value| < 2^24, which every count of samples here is.
    Lanes toFloat() const noexcept { return Lanes(_mm_cvtepi32_ps(v)); }

    friend IntLanes operator-(IntLanes a, IntLanes b) noexcept {
        return IntLanes(_mm_sub_epi32(a.v, b.v));
    }
    friend Mask operator>(IntLanes a, IntLanes b) noexcept {
        return {_mm_castsi128_ps(_mm_cmpgt_epi32(a.v, b.v))};
    }
    friend Mask operator==(IntLanes a, IntLanes b) noexcept {
        return {_mm_castsi128_ps(_mm_cmpeq_epi32(a.v, b.v))};
    }
    friend IntLanes select(Mask where, IntLanes a, IntLanes b) noexcept {
        const __m128i m = _mm_castps_si128(where.bits);
        return IntLanes(_mm_or_si128(_mm_and_si128(m, a.v), _mm_andnot_si128(m, b.v)));
    }

    __m128i v;
};

} // namespace engine
