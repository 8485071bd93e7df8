#include "thumbs/Resampler.h"

#include "platform/AppError.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <map>
#include <memory>
#include <mutex>
#include <numbers>
#include <tuple>
#include <vector>

namespace {

// How a filter maps a destination pixel onto the source.
enum class Sampling {
    TopLeft,         // point sample at floor(destination x scale)
    NearestCentre,   // point sample of the pixel whose centre is nearest
    Fixed,           // kernel at its own width whatever the scale
    Fixed8Bit,       // as Fixed, weights rounded to multiples of 1/256
    Widened,         // kernel widened by the scale when reducing
};

using KernelFunction = double (*)(double);

struct Kernel {
    double support;
    KernelFunction function;
};

struct FilterRow {
    Sampling sampling;
    Kernel reducing;   // used when the target is smaller than the source
    Kernel enlarging;  // used otherwise
};

double box(double x) { return (x >= -0.5 && x < 0.5) ? 1.0 : 0.0; }
double triangle(double x) { x = std::fabs(x); return x < 1.0 ? 1.0 - x : 0.0; }
double hermite(double x)
{
    x = std::fabs(x);
    return x < 1.0 ? (2.0 * x - 3.0) * x * x + 1.0 : 0.0;
}
double bell(double x)
{
    x = std::fabs(x);
    if (x < 0.5) return 0.75 - x * x;
    if (x < 1.5) return 0.5 * (x - 1.5) * (x - 1.5);
    return 0.0;
}
double bspline(double x)
{
    x = std::fabs(x);
    if (x < 1.0) return (0.5 * x - 1.0) * x * x + 2.0 / 3.0;
    if (x < 2.0) return (2.0 - x) * (2.0 - x) * (2.0 - x) / 6.0;
    return 0.0;
}
double sinc(double x)
{
    if (x == 0.0) return 1.0;
    x *= std::numbers::pi;
    return std::sin(x) / x;
}
double lanczos3(double x) { return std::fabs(x) < 3.0 ? sinc(x) * sinc(x / 3.0) : 0.0; }

// Mitchell-Netravali cubic with parameters B and C.
double cubic(double x, double b, double c)
{
    x = std::fabs(x);
    if (x < 1.0)
        return ((12.0 - 9.0 * b - 6.0 * c) * x * x * x + (-18.0 + 12.0 * b + 6.0 * c) * x * x + (6.0 - 2.0 * b)) / 6.0;
    if (x < 2.0)
        return ((-b - 6.0 * c) * x * x * x + (6.0 * b + 30.0 * c) * x * x + (-12.0 * b - 48.0 * c) * x + (8.0 * b + 24.0 * c)) / 6.0;
    return 0.0;
}
double mitchell(double x) { return cubic(x, 1.0 / 3.0, 1.0 / 3.0); }
double catmullRom(double x) { return cubic(x, 0.0, 0.5); }

constexpr Kernel kPoint{0.0, box};
constexpr Kernel kLinear{1.0, triangle};

// One row per filter, indexed by TResampleFilter.
constexpr std::array<FilterRow, ResampleFilterCount> kFilters{{
    {Sampling::TopLeft, kPoint, kPoint},                                // rfNone
    {Sampling::Widened, kLinear, kLinear},                              // rfTriangle
    {Sampling::Widened, {1.0, hermite}, {1.0, hermite}},                // rfHermite
    {Sampling::Widened, {1.5, bell}, {1.5, bell}},                      // rfBell
    {Sampling::Widened, {2.0, bspline}, {2.0, bspline}},                // rfBSpline
    {Sampling::Widened, {3.0, lanczos3}, {3.0, lanczos3}},              // rfLanczos3
    {Sampling::Widened, {2.0, mitchell}, {2.0, mitchell}},              // rfMitchell
    {Sampling::NearestCentre, kPoint, kPoint},                          // rfNearest
    {Sampling::Fixed, kLinear, kLinear},                                // rfLinear
    {Sampling::Fixed8Bit, kLinear, kLinear},                            // rfFastLinear
    {Sampling::Widened, {0.5, box}, kLinear},                           // rfBilinear: area average, else linear
    {Sampling::Widened, {2.0, catmullRom}, {2.0, catmullRom}},          // rfBicubic
}};

// Per destination pixel: the first source pixel, how many weights it uses (the first and the last
// of them non-zero) and `stride` weights (zero past the used ones).
struct Weights {
    int stride = 0;
    std::vector<int> first;
    std::vector<int> taps;
    std::vector<float> weight;
    int neededFrom = 0;  // source pixels [neededFrom, neededTo) hold every weighted one
    int neededTo = 0;
    std::vector<bool> needed;  // per source pixel: has a non-zero weight
};

void pointSample(Weights& w, int src, int dst, bool topLeft)
{
    const double scale = double(src) / dst;
    w.stride = 1;
    for (int i = 0; i < dst; ++i) {
        const double pos = topLeft ? i * scale : (i + 0.5) * scale;
        w.first[i] = std::clamp(int(std::floor(pos)), 0, src - 1);
        w.weight[i] = 1.0f;
    }
}

// Rounds weights to multiples of 1/256; the largest takes the remainder so they still sum to 1.
void quantise8Bit(float* weights, int count)
{
    int total = 0;
    int largest = 0;
    for (int t = 0; t < count; ++t) {
        const int v = int(std::lround(weights[t] * 256.0f));
        weights[t] = float(v);
        total += v;
        if (weights[t] > weights[largest])
            largest = t;
    }
    weights[largest] += float(256 - total);
    for (int t = 0; t < count; ++t)
        weights[t] /= 256.0f;
}

void kernelSample(Weights& w, int src, int dst, const FilterRow& row)
{
    const double scale = double(src) / dst;
    const Kernel& k = scale > 1.0 ? row.reducing : row.enlarging;
    const double widen = (row.sampling == Sampling::Widened && scale > 1.0) ? scale : 1.0;
    const double reach = k.support * widen;
    w.stride = int(std::ceil(2.0 * reach)) + 3;
    w.weight.assign(size_t(dst) * w.stride, 0.0f);
    std::vector<double> taps(w.stride);
    for (int i = 0; i < dst; ++i) {
        const double centre = (i + 0.5) * scale;
        const int lo = std::max(0, int(std::floor(centre - reach)));
        const int hi = std::min(src - 1, int(std::ceil(centre + reach)));
        double sum = 0.0;
        int count = 0;
        for (int j = lo; j <= hi && count < w.stride; ++j, ++count) {
            taps[count] = k.function((j + 0.5 - centre) / widen);
            sum += taps[count];
        }
        if (sum == 0.0) {  // kernel fell between pixels: take the nearest one
            w.first[i] = std::clamp(int(std::floor(centre)), 0, src - 1);
            w.weight[size_t(i) * w.stride] = 1.0f;
            continue;
        }
        w.first[i] = lo;
        float* out = &w.weight[size_t(i) * w.stride];
        for (int t = 0; t < count; ++t)
            out[t] = float(taps[t] / sum);
        if (row.sampling == Sampling::Fixed8Bit)
            quantise8Bit(out, count);
    }
}

// Drops the zero weights at both ends of every window: the passes then multiply only what counts.
void trimZeroEnds(Weights& w, int src)
{
    w.taps.resize(w.first.size());
    for (size_t i = 0; i < w.first.size(); ++i) {
        float* row = &w.weight[i * w.stride];
        const int count = std::min(w.stride, src - w.first[i]);
        int lo = 0;
        while (lo < count - 1 && row[lo] == 0.0f)
            ++lo;
        int hi = count - 1;
        while (hi > lo && row[hi] == 0.0f)
            --hi;
        std::copy(row + lo, row + hi + 1, row);
        std::fill(row + hi + 1 - lo, row + w.stride, 0.0f);
        w.first[i] += lo;
        w.taps[i] = hi + 1 - lo;
    }
}

std::shared_ptr<const Weights> buildWeights(int src, int dst, TResampleFilter filter)
{
    auto w = std::make_shared<Weights>();
    w->first.resize(dst);
    w->weight.resize(dst);
    const FilterRow& row = kFilters[filter];
    if (row.sampling == Sampling::TopLeft || row.sampling == Sampling::NearestCentre)
        pointSample(*w, src, dst, row.sampling == Sampling::TopLeft);
    else
        kernelSample(*w, src, dst, row);
    trimZeroEnds(*w, src);
    w->needed.assign(src, false);
    w->neededFrom = src;
    for (int i = 0; i < dst; ++i) {
        w->neededFrom = std::min(w->neededFrom, w->first[i]);
        w->neededTo = std::max(w->neededTo, w->first[i] + w->taps[i]);
        for (int t = 0; t < w->taps[i]; ++t)
            if (w->weight[size_t(i) * w->stride + t] != 0.0f)
                w->needed[w->first[i] + t] = true;
    }
    return w;
}

// Weights depend only on the sizes and the filter, so a batch of same-sized frames builds them once.
std::shared_ptr<const Weights> cachedWeights(int src, int dst, TResampleFilter filter)
{
    static std::mutex lock;
    static std::map<std::tuple<int, int, int>, std::shared_ptr<const Weights>> cache;
    constexpr size_t kMaxEntries = 64;
    const std::lock_guard guard(lock);
    const std::tuple key{src, dst, int(filter)};
    if (auto found = cache.find(key); found != cache.end())
        return found->second;
    if (cache.size() >= kMaxEntries)
        cache.clear();
    return cache[key] = buildWeights(src, dst, filter);
}

constexpr int kBlockRows = 8;

// The multiply-add kernels get an AVX2/FMA build beside the baseline one, picked at run time, so
// the program still runs on any x86-64.
// Not under a sanitizer: the clone resolver runs before the sanitizer's runtime is set up and crashes.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__SANITIZE_THREAD__) && !defined(__SANITIZE_ADDRESS__)
#define SKORREL_VECTOR_CLONES __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define SKORREL_VECTOR_CLONES
#endif

// acc[e] = sum over taps of w[t] x p[t x Lanes + e]. Neighbouring taps go to separate sums so the
// multiply-adds of one tap need not wait for the previous one's.
template <int Lanes>
inline void accumulateTaps(float* __restrict acc, const float* __restrict p, const float* __restrict w, int taps)
{
    constexpr int kChains = 2;
    float sum[kChains][Lanes] = {};  // kept in registers across the taps
    int t = 0;
    for (; t + kChains <= taps; t += kChains)
        for (int k = 0; k < kChains; ++k)
            for (int e = 0; e < Lanes; ++e)
                sum[k][e] += w[t + k] * p[(t + k) * Lanes + e];
    for (; t < taps; ++t)
        for (int e = 0; e < Lanes; ++e)
            sum[0][e] += w[t] * p[t * Lanes + e];
    for (int e = 0; e < Lanes; ++e) {
        acc[e] = sum[0][e];
        for (int k = 1; k < kChains; ++k)
            acc[e] += sum[k][e];
    }
}

SKORREL_VECTOR_CLONES void accumulateColourBlock(float* acc, const float* p, const float* w, int taps)
{
    accumulateTaps<kBlockRows * 3>(acc, p, w, taps);
}

SKORREL_VECTOR_CLONES void accumulatePlaneBlock(float* acc, const float* p, const float* w, int taps)
{
    accumulateTaps<kBlockRows>(acc, p, w, taps);
}

SKORREL_VECTOR_CLONES void accumulateRow(float* __restrict acc, const float* __restrict line, float wt, size_t n)
{
    for (size_t e = 0; e < n; ++e)
        acc[e] += wt * line[e];
}

// block[(x - from) x Lanes + r x C + c] = lines[r][x x C + c]: the rows laid out pixel major.
template <int C>
void spreadBlock(const uchar* const* lines, int from, int to, float* block)
{
    for (int x = from; x < to; ++x)
        for (int r = 0; r < kBlockRows; ++r)
            for (int c = 0; c < C; ++c)
                *block++ = lines[r][x * C + c];
}

#if defined(__SSE2__)
// As spreadBlock<3>, converting four bytes at a time: each store's fourth float is overwritten by
// the next one. The last pixel goes alone, so no read passes the end of a row.
void spreadColourBlock(const uchar* const* lines, int from, int to, float* block)
{
    const __m128i zero = _mm_setzero_si128();
    for (int x = from; x < to - 1; ++x)
        for (int r = 0; r < kBlockRows; ++r, block += 3) {
            int bytes;
            std::memcpy(&bytes, lines[r] + x * 3, sizeof bytes);
            const __m128i words = _mm_unpacklo_epi8(_mm_cvtsi32_si128(bytes), zero);
            _mm_storeu_ps(block, _mm_cvtepi32_ps(_mm_unpacklo_epi16(words, zero)));
        }
    spreadBlock<3>(lines, to - 1, to, block);
}
#else
void spreadColourBlock(const uchar* const* lines, int from, int to, float* block)
{
    spreadBlock<3>(lines, from, to, block);
}
#endif

// Horizontal pass over a block of up to kBlockRows source rows. The rows are first laid out pixel
// major (all rows' channels of one source pixel side by side) so every tap is one contiguous
// multiply-add over kBlockRows * C floats.
template <int C>
void horizontalBlock(const QImage& src, const int* rows, int rowCount, const Weights& wx, int dstWidth,
                     float* block, std::vector<float*>& out)
{
    constexpr int lanes = kBlockRows * C;
    const int from = wx.neededFrom;
    const int to = wx.neededTo;
    const uchar* lines[kBlockRows];
    for (int r = 0; r < kBlockRows; ++r)
        lines[r] = src.constScanLine(rows[std::min(r, rowCount - 1)]);
    if constexpr (C == 3)
        spreadColourBlock(lines, from, to, block);
    else
        spreadBlock<C>(lines, from, to, block);
    const int stride = wx.stride;
    for (int x = 0; x < dstWidth; ++x) {
        float acc[lanes] = {};
        const int start = wx.first[x] - from;
        const float* w = &wx.weight[size_t(x) * stride];
        const float* p = &block[size_t(start) * lanes];
        if constexpr (C == 3)
            accumulateColourBlock(acc, p, w, wx.taps[x]);
        else
            accumulatePlaneBlock(acc, p, w, wx.taps[x]);
        for (int r = 0; r < rowCount; ++r)
            for (int c = 0; c < C; ++c)
                out[r][x * C + c] = acc[r * C + c];
    }
}

using AlignedFloats = std::unique_ptr<float[], decltype(&std::free)>;

// Cache-line aligned, so that no vector load of a block's pixel straddles two lines.
AlignedFloats alignedFloats(size_t count)
{
    constexpr size_t kLine = 64;
    const size_t bytes = (count * sizeof(float) + kLine - 1) / kLine * kLine;
    AlignedFloats buffer(static_cast<float*>(std::aligned_alloc(kLine, bytes)), &std::free);
    if (!buffer)
        throw AppError(QStringLiteral("Out of memory for resampling"));
    return buffer;
}

// Destination row y from the intermediate rows under its window, rounded and clamped to bytes.
void verticalRow(const float* mid, size_t rowFloats, const Weights& wy, int y, float* acc, uchar* outLine)
{
    std::fill(acc, acc + rowFloats, 0.0f);
    const float* w = &wy.weight[size_t(y) * wy.stride];
    for (int t = 0; t < wy.taps[y]; ++t)
        if (w[t] != 0.0f)  // rows under a zero weight may never have been computed
            accumulateRow(acc, &mid[size_t(wy.first[y] + t) * rowFloats], w[t], rowFloats);
    for (size_t e = 0; e < rowFloats; ++e)
        outLine[e] = uchar(std::clamp(acc[e] + 0.5f, 0.0f, 255.0f));
}

template <int C>
QImage resampleChannels(const QImage& src, int dstW, int dstH, TResampleFilter filter, QImage::Format format)
{
    const auto wx = cachedWeights(src.width(), dstW, filter);
    const auto wy = cachedWeights(src.height(), dstH, filter);
    const size_t rowFloats = size_t(dstW) * C;
    QImage dst(dstW, dstH, format);
    if (dst.isNull())
        throw AppError(QStringLiteral("Out of memory for a %1 x %2 picture").arg(dstW).arg(dstH));

    // Intermediate: only the source rows the vertical pass needs, unclamped floats.
    std::vector<int> rows;
    for (int y = wy->neededFrom; y < wy->neededTo; ++y)
        if (wy->needed[y])
            rows.push_back(y);
    std::unique_ptr<float[]> mid(new float[size_t(src.height()) * rowFloats]);
    const AlignedFloats block = alignedFloats(size_t(wx->neededTo - wx->neededFrom) * kBlockRows * C);
    std::vector<float*> out(kBlockRows);
    std::vector<float> acc(rowFloats);
    int y = 0;
    for (size_t i = 0; i < rows.size(); i += kBlockRows) {
        const int count = int(std::min<size_t>(kBlockRows, rows.size() - i));
        for (int r = 0; r < count; ++r)
            out[r] = &mid[size_t(rows[i + r]) * rowFloats];
        horizontalBlock<C>(src, &rows[i], count, *wx, dstW, block.get(), out);
        // Rows whose window is complete are made while the intermediate is still in the cache.
        const int ready = rows[i + size_t(count) - 1] + 1;
        for (; y < dstH && wy->first[y] + wy->taps[y] <= ready; ++y)
            verticalRow(mid.get(), rowFloats, *wy, y, acc.data(), dst.scanLine(y));
    }
    return dst;
}

}  // namespace

QImage Resample(const QImage& source, int width, int height, TResampleFilter filter)
{
    if (source.isNull() || source.width() < 1 || source.height() < 1)
        throw AppError(QStringLiteral("Cannot resample an empty picture"));
    if (width < 1 || height < 1)
        throw AppError(QStringLiteral("Cannot resample to %1 x %2").arg(width).arg(height));
    if (filter < 0 || filter >= ResampleFilterCount)
        throw AppError(QStringLiteral("Unknown resample filter %1").arg(int(filter)));
    if (source.format() == QImage::Format_Grayscale8)
        return resampleChannels<1>(source, width, height, filter, QImage::Format_Grayscale8);
    const QImage bgr = source.convertToFormat(QImage::Format_BGR888);
    return resampleChannels<3>(bgr, width, height, filter, QImage::Format_BGR888);
}

namespace {
constexpr std::array<const char*, ResampleFilterCount> kFilterNames{
    "None", "Triangle", "Hermite", "Bell", "BSpline", "Lanczos3",
    "Mitchell", "Nearest", "Linear", "FastLinear", "Bilinear", "Bicubic"};
}

const char* ResampleFilterName(TResampleFilter filter) { return kFilterNames.at(size_t(filter)); }

bool ResampleFilterFromName(const QString& name, TResampleFilter& filter)
{
    for (int i = 0; i < ResampleFilterCount; ++i)
        if (name == QLatin1String(kFilterNames[size_t(i)])) {
            filter = TResampleFilter(i);
            return true;
        }
    return false;
}
