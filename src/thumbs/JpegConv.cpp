#include "thumbs/JpegConv.h"

#include "platform/AppError.h"
#include "thumbs/ImageEnView.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr int kDarkLimit = 40;      // V above this is lit
constexpr int kLitPixelsAllowed = 5;

int nearest(double x) { return int(std::nearbyint(x)); }  // halves go to the even neighbour

// V of one channel byte, computed once for all 256 values.
const std::array<unsigned char, 256>& channelValue()
{
    static const auto table = [] {
        std::array<unsigned char, 256> t{};
        for (int c = 0; c < 256; ++c)
            t[c] = (unsigned char)nearest(c * 99.0 / 255.0);
        return t;
    }();
    return table;
}

// Counts how many lines from one edge are dark: lines 0..limit, each `length` pixels long, pixel k
// of line t at pixelAt(t, k).
template <typename PixelAt>
int darkLines(int limit, int length, PixelAt pixelAt)
{
    const auto& v = channelValue();
    std::vector<unsigned char> values(static_cast<size_t>(length));
    for (int t = 0; t <= limit; ++t) {
        for (int k = 0; k < length; ++k) {
            const unsigned char* p = pixelAt(t, k);
            values[size_t(k)] = std::max({v[p[0]], v[p[1]], v[p[2]]});
        }
        if (!LineIsDark(values.data(), length))
            return t;
    }
    return limit + 1;
}

int raised(int count) { return count > 0 ? count + 1 : 0; }

// Keeps [low, high] inside [0, size - 1]; when the borders meet, the middle line remains.
void keepInside(int& low, int& high, int size)
{
    if (low > high) {
        low = high = (size - 1) / 2;
        return;
    }
    low = std::clamp(low, 0, size - 1);
    high = std::clamp(high, 0, size - 1);
}

}  // namespace

int RgbToHsvValue(int red, int green, int blue)
{
    const auto& v = channelValue();
    return std::max({v[size_t(red & 255)], v[size_t(green & 255)], v[size_t(blue & 255)]});
}

bool LineIsDark(const unsigned char* values, int n)
{
    int lit = 0;
    for (int i = 0; i < n; ++i)
        if (values[i] > kDarkLimit && ++lit > kLitPixelsAllowed)
            return false;
    return true;
}

TRect FindBlackBorders(const TImageEnView& view)
{
    const QImage picture = view.Bitmap().format() == QImage::Format_BGR888
                               ? view.Bitmap()
                               : view.Bitmap().convertToFormat(QImage::Format_BGR888);
    const int w = picture.width();
    const int h = picture.height();
    if (w < 1 || h < 1)
        throw AppError(QStringLiteral("Cannot trim a picture without pixels"));
    const int q = w / 4;
    const int rowLimit = std::min(q, h - 1);  // a frame 4 or more times wider than high ends at the far edge
    const uchar* bits = picture.constBits();
    const qsizetype stride = picture.bytesPerLine();
    auto at = [&](int x, int y) { return bits + y * stride + x * 3; };

    const int right = darkLines(q, h, [&](int t, int k) { return at(w - 1 - t, k); });
    const int left = darkLines(q, h, [&](int t, int k) { return at(t, k); });
    const int top = darkLines(rowLimit, w, [&](int t, int k) { return at(k, t); });
    const int bottom = darkLines(rowLimit, w, [&](int t, int k) { return at(k, h - 1 - t); });

    TRect r{raised(left), raised(top), w - raised(right) - 1, h - raised(bottom) - 1};
    keepInside(r.Left, r.Right, w);
    keepInside(r.Top, r.Bottom, h);
    return r;
}

void CropToAspect(int tw, int th, TRect& rect)
{
    const double a = double(tw) / th;
    const int rw = rect.Right - rect.Left;
    const int rh = rect.Bottom - rect.Top;
    const double r = double(rw) / rh;
    if (a > r) {
        const int nh = nearest(rw / a);
        rect.Top += (rh - nh) / 2;
        rect.Bottom = rect.Top + nh;
    } else {
        const int nw = nearest(rh * a);
        rect.Left += (rw - nw) / 2;
        rect.Right = rect.Left + nw;
    }
}

void TrimAndCrop(TImageEnView& view, int boxWidth, int boxHeight, bool trim, bool crop)
{
    TRect r = trim ? FindBlackBorders(view) : TRect{0, 0, view.Bitmap().width(), view.Bitmap().height()};
    if (crop)
        CropToAspect(boxWidth, boxHeight, r);
    if (!trim && !crop)
        return;
    view.SetSelectionBase(iesbBitmap);
    view.Select(r.Left, r.Top, r.Right, r.Bottom);
    view.CropSel();
}

void ResampleToFit(QImage& bitmap, int maxWidth, int maxHeight, TResampleFilter filter)
{
    try {
        const double a = double(bitmap.width()) / bitmap.height();
        int width = maxWidth;
        int height = maxHeight;
        if (a > double(maxWidth) / maxHeight)
            height = nearest(maxWidth / a);
        else
            width = nearest(a * maxHeight);
        // A sliver of a picture still gets one pixel rather than none.
        bitmap = Resample(bitmap, std::max(width, 1), std::max(height, 1), filter);
    } catch (const AppError&) {
        // The picture stays as it was; the caller goes on with it.
    }
}

void FitSizeToAspect(int aw, int ah, int& w, int& h)
{
    const double a = double(aw) / ah;
    if (double(w) / h >= a)
        w = nearest(h * a);
    else
        h = nearest(w / a);
}
