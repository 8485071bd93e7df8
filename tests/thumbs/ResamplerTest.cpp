#include "thumbs/Resampler.h"

#include "NoisyPicture.h"
#include "platform/AppError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace {

// Independent double-precision reference: each filter written out again from its textbook formula.
struct RefFilter {
    const char* name;
    TResampleFilter filter;
    double support;                       // 0: point sampling
    std::function<double(double)> kernel;
    bool widen;                            // widened by the scale when reducing
    bool quantised = false;                // weights in steps of 1/256
    bool areaWhenReducing = false;         // box of half-width 0.5 when reducing
    bool topLeft = false;                  // point sampling at floor(i x scale)
};

double mn(double x, double B, double C)
{
    const double a = std::abs(x);
    if (a >= 2) return 0;
    if (a >= 1) return ((-B - 6 * C) * a * a * a + (6 * B + 30 * C) * a * a - (12 * B + 48 * C) * a + 8 * B + 24 * C) / 6;
    return ((12 - 9 * B - 6 * C) * a * a * a - (18 - 12 * B - 6 * C) * a * a + 6 - 2 * B) / 6;
}
double tri(double x) { return std::max(0.0, 1 - std::abs(x)); }

const std::vector<RefFilter>& refFilters()
{
    const double pi = std::numbers::pi;
    auto sinc = [pi](double x) { return x == 0 ? 1.0 : std::sin(pi * x) / (pi * x); };
    static const std::vector<RefFilter> filters{
        {"None", rfNone, 0, nullptr, false, false, false, true},
        {"Triangle", rfTriangle, 1, tri, true},
        {"Hermite", rfHermite, 1, [](double x) { double a = std::abs(x); return a < 1 ? 2 * a * a * a - 3 * a * a + 1 : 0; }, true},
        {"Bell", rfBell, 1.5, [](double x) { double a = std::abs(x); return a < 0.5 ? 0.75 - a * a : a < 1.5 ? (a - 1.5) * (a - 1.5) / 2 : 0; }, true},
        {"BSpline", rfBSpline, 2, [](double x) { double a = std::abs(x); return a < 1 ? a * a * a / 2 - a * a + 2.0 / 3 : a < 2 ? std::pow(2 - a, 3) / 6 : 0; }, true},
        {"Lanczos3", rfLanczos3, 3, [sinc](double x) { return std::abs(x) < 3 ? sinc(x) * sinc(x / 3) : 0; }, true},
        {"Mitchell", rfMitchell, 2, [](double x) { return mn(x, 1.0 / 3, 1.0 / 3); }, true},
        {"Nearest", rfNearest, 0, nullptr, false},
        {"Linear", rfLinear, 1, tri, false},
        {"FastLinear", rfFastLinear, 1, tri, false, true},
        {"Bilinear", rfBilinear, 1, tri, true, false, true},
        {"Bicubic", rfBicubic, 2, [](double x) { return mn(x, 0, 0.5); }, true},
    };
    return filters;
}

// Weight of every source pixel for destination pixel i.
std::vector<double> refWeights(const RefFilter& f, int src, int dst, int i)
{
    std::vector<double> w(src, 0.0);
    const double scale = double(src) / dst;
    if (f.support == 0) {
        const double pos = f.topLeft ? i * scale : (i + 0.5) * scale;
        w[std::min(src - 1, int(pos))] = 1;
        return w;
    }
    const double centre = (i + 0.5) * scale;
    const bool reducing = scale > 1;
    const double s = (f.widen && reducing) ? scale : 1.0;
    double sum = 0;
    for (int j = 0; j < src; ++j) {
        const double d = (j + 0.5 - centre) / s;
        w[j] = (f.areaWhenReducing && reducing) ? (d >= -0.5 && d < 0.5 ? 1.0 : 0.0) : f.kernel(d);
        sum += w[j];
    }
    for (double& v : w)
        v /= sum;
    if (f.quantised) {
        for (double& v : w)
            v = std::round(v * 256) / 256;
    }
    return w;
}

QImage refResample(const QImage& src, int dw, int dh, const RefFilter& f)
{
    const int sw = src.width(), sh = src.height();
    std::vector<double> rows(size_t(sh) * dw * 3, 0.0);  // horizontal pass, in double
    for (int x = 0; x < dw; ++x) {
        const std::vector<double> w = refWeights(f, sw, dw, x);
        for (int sy = 0; sy < sh; ++sy)
            for (int sx = 0; sx < sw; ++sx)
                for (int c = 0; c < 3; ++c)
                    rows[(size_t(sy) * dw + x) * 3 + c] += w[sx] * src.constScanLine(sy)[sx * 3 + c];
    }
    QImage out(dw, dh, QImage::Format_BGR888);
    for (int y = 0; y < dh; ++y) {
        const std::vector<double> w = refWeights(f, sh, dh, y);
        for (int x = 0; x < dw * 3; ++x) {
            double v = 0;
            for (int sy = 0; sy < sh; ++sy)
                v += w[sy] * rows[size_t(sy) * dw * 3 + x];
            out.scanLine(y)[x] = uchar(std::clamp(std::round(v), 0.0, 255.0));
        }
    }
    return out;
}

int maxDifference(const QImage& a, const QImage& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width() * 3; ++x)
            worst = std::max(worst, std::abs(a.constScanLine(y)[x] - b.constScanLine(y)[x]));
    return worst;
}

class EachFilter : public ::testing::TestWithParam<RefFilter> {};

TEST_P(EachFilter, MatchesDoublePrecisionReferenceWhenEnlargingAndReducing)
{
    const QImage src = noisyPicture(97, 61);
    for (const QSize size : {QSize(250, 200), QSize(31, 17)}) {
        const QImage got = Resample(src, size.width(), size.height(), GetParam().filter);
        ASSERT_EQ(got.size(), size);
        ASSERT_EQ(got.format(), QImage::Format_BGR888);
        EXPECT_LE(maxDifference(got, refResample(src, size.width(), size.height(), GetParam())), 1)
            << GetParam().name << " to " << size.width() << " x " << size.height();
    }
}

TEST_P(EachFilter, KeepsAFlatColourExactlyFlat)
{
    QImage src(97, 61, QImage::Format_BGR888);
    src.fill(QColor(201, 7, 255));
    for (const QSize size : {QSize(250, 200), QSize(31, 17), QSize(1, 1), QSize(97, 61)}) {
        const QImage got = Resample(src, size.width(), size.height(), GetParam().filter);
        QImage expected(size, QImage::Format_BGR888);
        expected.fill(QColor(201, 7, 255));
        EXPECT_EQ(got, expected) << GetParam().name << " to " << size.width() << " x " << size.height();
    }
}

INSTANTIATE_TEST_SUITE_P(Resampler, EachFilter, ::testing::ValuesIn(refFilters()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Resampler, OneChannelPlaneUsesTheSameWeights)
{
    const QImage src = noisyPicture(97, 61);
    QImage plane(97, 61, QImage::Format_Grayscale8);
    for (int y = 0; y < 61; ++y)
        for (int x = 0; x < 97; ++x)
            plane.scanLine(y)[x] = src.constScanLine(y)[x * 3 + 1];
    const QImage colour = Resample(src, 31, 17, rfLanczos3);
    const QImage gray = Resample(plane, 31, 17, rfLanczos3);
    ASSERT_EQ(gray.format(), QImage::Format_Grayscale8);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 31; ++x)
            ASSERT_EQ(gray.constScanLine(y)[x], colour.constScanLine(y)[x * 3 + 1]);
}

TEST(Resampler, ConvertsOtherFormatsToTwentyFourBits)
{
    QImage src(40, 30, QImage::Format_RGB32);
    src.fill(QColor(10, 20, 30));
    const QImage got = Resample(src, 20, 15, rfBicubic);
    EXPECT_EQ(got.format(), QImage::Format_BGR888);
    EXPECT_EQ(got.pixelColor(7, 7), QColor(10, 20, 30));
}

TEST(Resampler, RefusesEmptyPicturesAndSizes)
{
    EXPECT_THROW(Resample(QImage(), 10, 10, rfLanczos3), AppError);
    EXPECT_THROW(Resample(noisyPicture(5, 5), 0, 10, rfLanczos3), AppError);
    EXPECT_THROW(Resample(noisyPicture(5, 5), 10, -1, rfLanczos3), AppError);
    EXPECT_THROW(Resample(noisyPicture(5, 5), 10, 10, TResampleFilter(12)), AppError);
}

TEST(Resampler, ExtremeReductionToOnePixelAveragesTheRow)
{
    QImage src(1000, 1, QImage::Format_BGR888);
    for (int x = 0; x < 1000; ++x)
        src.setPixelColor(x, 0, x < 500 ? QColor(0, 0, 0) : QColor(200, 200, 200));
    EXPECT_EQ(Resample(src, 1, 1, rfBilinear).pixelColor(0, 0), QColor(100, 100, 100));
}

}  // namespace
