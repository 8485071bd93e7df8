#include "watermark/Watermark.h"

#include "app/uLibPivex.h"
#include "platform/AppError.h"
#include "thumbs/ImageEnView.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kEdgeMargin = 5;
constexpr int64_t kFarOutside = 1 << 24;

uint8_t effectiveAnchor(uint8_t anchor)
{
    return anchor > TWatermark::AnchorNear ? uint8_t(TWatermark::AnchorCentre) : anchor;
}

// Coverage of the lines drawn from `origin` down, smoothed, as the alpha of a white image.
QImage textCoverage(QSize pictureSize, const QFont& font, const QStringList& lines, QPoint origin)
{
    QImage coverage(pictureSize, QImage::Format_ARGB32_Premultiplied);
    coverage.fill(Qt::transparent);
    QPainter painter(&coverage);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QFontMetrics metrics(font);
    int y = origin.y();
    for (const QString& line : lines) {
        painter.drawText(QPoint(origin.x(), y + metrics.ascent()), line);
        y += metrics.height();
    }
    return coverage;
}

// The text colour with the coverage as alpha wherever the coverage is above 0.
void paintText(QImage& bitmap, QImage& alpha, const QImage& coverage, const QColor& colour)
{
    const uchar bgr[3] = {uchar(colour.blue()), uchar(colour.green()), uchar(colour.red())};
    const int width = bitmap.width();
    const int height = bitmap.height();
    for (int y = 0; y < height; ++y) {
        const auto* cover = reinterpret_cast<const QRgb*>(coverage.constScanLine(y));
        uchar* pixels = bitmap.scanLine(y);
        uchar* alphas = alpha.scanLine(y);
        for (int x = 0; x < width; ++x)
            if (const int a = qAlpha(cover[x])) {
                std::memcpy(pixels + 3 * x, bgr, 3);
                alphas[x] = uchar(a);
            }
    }
}

// The picture and its alpha (opaque without one) copied with its top-left corner at `origin`,
// cut at the layer's edges.
void paintPicture(QImage& bitmap, QImage& alpha, TImageEnView& picture, QPoint origin)
{
    const QImage& source = picture.Bitmap();
    const QImage& sourceAlpha = picture.AlphaChannel();
    const QRect target = QRect(origin, source.size()).intersected(bitmap.rect());
    for (int y = target.top(); y <= target.bottom(); ++y) {
        const int sy = y - origin.y();
        const int sx = target.left() - origin.x();
        std::memcpy(bitmap.scanLine(y) + 3 * target.left(), source.constScanLine(sy) + 3 * sx, 3 * target.width());
        uchar* alphas = alpha.scanLine(y) + target.left();
        if (sourceAlpha.isNull())
            std::memset(alphas, 255, target.width());
        else
            std::memcpy(alphas, sourceAlpha.constScanLine(sy) + sx, target.width());
    }
}

}  // namespace

int WatermarkPosition(int extent, uint8_t anchor, int size, int offset)
{
    int64_t reference = 0;
    switch (effectiveAnchor(anchor)) {
    case TWatermark::AnchorFar: reference = extent; break;
    case TWatermark::AnchorCentre: reference = extent / 2; break;
    default: reference = 0; break;
    }
    // An offset from an edited settings file may be near the integer limits: stay far outside instead.
    return int(std::clamp<int64_t>(reference - size / 2 + offset, -kFarOutside, kFarOutside));
}

int AnchorOffset(uint8_t anchor, int size)
{
    switch (effectiveAnchor(anchor)) {
    case TWatermark::AnchorFar: return -(size / 2) - kEdgeMargin;
    case TWatermark::AnchorCentre: return 0;
    default: return size / 2 + kEdgeMargin;
    }
}

QStringList LinesFromText(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineBreak);
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

TWatermark::TWatermark() : Image(std::make_unique<TImageEnView>()) {}

TWatermark::~TWatermark() = default;

void TWatermark::CopyFrom(const TWatermark& other)
{
    View = other.View;
    WatermarkType = other.WatermarkType;
    OffsetX = other.OffsetX;
    OffsetY = other.OffsetY;
    OffsetTypeX = other.OffsetTypeX;
    OffsetTypeY = other.OffsetTypeY;
    Font = other.Font;
    FontColor = other.FontColor;
    Lines = other.Lines;
    TextWidth = other.TextWidth;
    TextHeight = other.TextHeight;
    ImageFileName = other.ImageFileName;
    Image->Assign(*other.Image);
    Transparency = other.Transparency;
    ShadowRadius = other.ShadowRadius;
    ShadowOffsetX = other.ShadowOffsetX;
    ShadowOffsetY = other.ShadowOffsetY;
}

QFont TWatermark::DrawingFont() const
{
    QFont font = Font;
    font.setStyleHint(QFont::SansSerif);  // a Windows face such as "MS Sans Serif" falls back to the system sans
    const qreal points = Font.pointSizeF() > 0 ? Font.pointSizeF() : Font.pixelSize() * 72.0 / 96.0;
    font.setPixelSize(std::max(1, int(std::lround(points * 96.0 / 72.0))));
    return font;
}

void TWatermark::MeasureText()
{
    const QFontMetrics metrics(DrawingFont());
    TextWidth = 0;
    TextHeight = 0;
    for (const QString& line : Lines) {
        TextWidth = std::max(TextWidth, int32_t(metrics.horizontalAdvance(line)));
        TextHeight += metrics.height();
    }
}

bool TWatermark::LoadImage(const QString& path)
{
    try {
        Image->LoadFromFile(path);
        return true;
    } catch (const AppError& error) {
        RouteMessage(QStringLiteral("Unable to load watermark image\r\n") + error.message());
        return false;
    }
}

QSize TWatermark::Size() const
{
    return WatermarkType == TypeImage ? Image->Bitmap().size() : QSize(TextWidth, TextHeight);
}

void TWatermark::ResetOffsets()
{
    if (WatermarkType == TypeNone)
        return;
    const QSize size = Size();
    OffsetX = AnchorOffset(OffsetTypeX, size.width());
    OffsetY = AnchorOffset(OffsetTypeY, size.height());
}

int TWatermark::OpacityCap() const
{
    return std::clamp(255 - Transparency, 0, 255);
}

void TWatermark::Render(bool merge)
{
    if (!View || !Image)
        return;
    if (View->LayersCount() > 1)
        View->LayersRemove(1);
    if (WatermarkType == TypeNone || View->Bitmap().isNull())
        return;
    View->LockUpdate();
    View->LayersAdd();
    View->EnableAlphaChannel();
    QImage& bitmap = View->Bitmap();
    QImage& alpha = View->AlphaChannel();
    bitmap.fill(QColor::fromRgb(KeyColor));
    const QSize size = Size();
    const QPoint origin(WatermarkPosition(bitmap.width(), OffsetTypeX, size.width(), OffsetX),
                        WatermarkPosition(bitmap.height(), OffsetTypeY, size.height(), OffsetY));
    if (WatermarkType == TypeText)
        paintText(bitmap, alpha, textCoverage(bitmap.size(), DrawingFont(), Lines, origin), FontColor);
    else if (WatermarkType == TypeImage)
        paintPicture(bitmap, alpha, *Image, origin);
    const QColor key = QColor::fromRgb(KeyColor);
    View->SetTransparentColors(key, key, 0);
    if (ShadowRadius > 0)
        View->AddSoftShadow(ShadowRadius, ShadowOffsetX, ShadowOffsetY);
    View->SetLayerOpacity(1, OpacityCap());
    if (merge) {
        View->LayersMerge();
        View->RemoveAlphaChannel(true);
    }
    View->UnlockUpdate();
}
