#include "thumbs/AlphaOps.h"

#include <algorithm>
#include <cmath>
#include <vector>

void BlendOnto(QImage& bottom, const QImage& top, const QImage& topAlpha, int cap, int x, int y)
{
    const QRect area = QRect(QPoint(x, y), top.size()).intersected(bottom.rect());
    cap = std::clamp(cap, 0, 255);
    for (int by = area.top(); by <= area.bottom(); ++by) {
        uchar* out = bottom.scanLine(by);
        const uchar* in = top.constScanLine(by - y);
        const uchar* alpha = topAlpha.isNull() ? nullptr : topAlpha.constScanLine(by - y);
        for (int bx = area.left(); bx <= area.right(); ++bx) {
            const int a = std::min(alpha ? int(alpha[bx - x]) : 255, cap);
            for (int c = 0; c < 3; ++c) {
                uchar& o = out[bx * 3 + c];
                o = uchar((a * in[(bx - x) * 3 + c] + (255 - a) * o + 127) / 255);  // exact rounding: 255 is odd
            }
        }
    }
}

QImage Flatten(const QImage& bitmap, const QImage& alpha, const QColor& background)
{
    QImage out(bitmap.size(), QImage::Format_BGR888);
    out.fill(background);
    BlendOnto(out, bitmap, alpha, 255, 0, 0);
    return out;
}

QImage OpaqueAlpha(const QSize& size)
{
    QImage alpha(size, QImage::Format_Grayscale8);
    alpha.fill(255);
    return alpha;
}

void SetAlphaInColourRange(const QImage& bitmap, QImage& alpha, const QColor& low, const QColor& high, int value)
{
    const int lo[3] = {low.blue(), low.green(), low.red()};  // byte order of Format_BGR888
    const int hi[3] = {high.blue(), high.green(), high.red()};
    for (int y = 0; y < bitmap.height(); ++y) {
        const uchar* p = bitmap.constScanLine(y);
        uchar* a = alpha.scanLine(y);
        for (int x = 0; x < bitmap.width(); ++x, p += 3) {
            if (p[0] >= lo[0] && p[0] <= hi[0] && p[1] >= lo[1] && p[1] <= hi[1] && p[2] >= lo[2] && p[2] <= hi[2])
                a[x] = uchar(std::clamp(value, 0, 255));
        }
    }
}

namespace {

// Gaussian weights over [-radius, radius], sigma = radius / 2.
std::vector<double> gaussian(int radius)
{
    if (radius == 0)
        return {1.0};
    std::vector<double> w(2 * radius + 1);
    const double sigma = radius / 2.0;
    double sum = 0;
    for (int i = -radius; i <= radius; ++i)
        sum += w[i + radius] = std::exp(-i * i / (2 * sigma * sigma));
    for (double& v : w)
        v /= sum;
    return w;
}

// Blurred alpha moved by (dx, dy); outside the picture counts as transparent.
std::vector<double> shadowOf(const QImage& alpha, int radius, int dx, int dy)
{
    const int w = alpha.width(), h = alpha.height();
    const std::vector<double> k = gaussian(radius);
    std::vector<double> rows(size_t(w) * h, 0.0), out(size_t(w) * h, 0.0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int i = -radius; i <= radius; ++i)
                if (x + i >= 0 && x + i < w)
                    rows[size_t(y) * w + x] += k[i + radius] * alpha.constScanLine(y)[x + i];
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int sx = x - dx;
            if (sx < 0 || sx >= w)
                continue;
            for (int i = -radius; i <= radius; ++i) {
                const int sy = y - dy + i;
                if (sy >= 0 && sy < h)
                    out[size_t(y) * w + x] += k[i + radius] * rows[size_t(sy) * w + sx];
            }
        }
    return out;
}

}  // namespace

void AddSoftShadow(QImage& bitmap, QImage& alpha, int radius, int dx, int dy)
{
    if (alpha.isNull())
        alpha = OpaqueAlpha(bitmap.size());
    radius = std::max(radius, 0);
    const std::vector<double> shadow = shadowOf(alpha, radius, dx, dy);
    for (int y = 0; y < bitmap.height(); ++y) {
        uchar* p = bitmap.scanLine(y);
        uchar* a = alpha.scanLine(y);
        for (int x = 0; x < bitmap.width(); ++x) {
            const double top = a[x] / 255.0;
            const double combined = top + shadow[size_t(y) * bitmap.width() + x] / 255.0 * (1.0 - top);
            if (combined <= 0.0)
                continue;
            for (int c = 0; c < 3; ++c)  // the picture over a black shadow
                p[x * 3 + c] = uchar(std::lround(p[x * 3 + c] * top / combined));
            a[x] = uchar(std::lround(std::min(combined, 1.0) * 255.0));
        }
    }
}
