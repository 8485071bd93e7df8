#include "thumbs/ImageEnView.h"

#include "platform/AppError.h"
#include "thumbs/AlphaOps.h"
#include "thumbs/JpegIO.h"
#include "thumbs/PictureFile.h"

#include <QPainter>
#include <qdrawutil.h>

#include <algorithm>

namespace {
constexpr int kFrame = 2;  // sunken frame drawn around the picture
}

TImageEnView::TImageEnView(QWidget* parent)
    : QWidget(parent), layers_(1), background_(palette().color(QPalette::Window))
{
    layers_[0].bitmap = QImage(0, 0, QImage::Format_BGR888);
}

QImage& TImageEnView::Bitmap() { return layer().bitmap; }
const QImage& TImageEnView::Bitmap() const { return layer().bitmap; }

void TImageEnView::Update()
{
    if (lockDepth_ == 0)
        update();
}

void TImageEnView::Assign(const QImage& picture)
{
    layers_.assign(1, Layer{});
    current_ = 0;
    selection_ = QRect();
    if (picture.hasAlphaChannel()) {
        const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
        layers_[0].bitmap = argb.convertToFormat(QImage::Format_BGR888);
        layers_[0].alpha = argb.convertToFormat(QImage::Format_Alpha8);
        layers_[0].alpha.reinterpretAsFormat(QImage::Format_Grayscale8);
    } else {
        layers_[0].bitmap = picture.convertToFormat(QImage::Format_BGR888);
    }
    Update();
}

void TImageEnView::Assign(const TImageEnView& other)
{
    layers_ = other.layers_;
    current_ = other.current_;
    jpegQuality_ = other.jpegQuality_;
    selection_ = QRect();
    Update();
}

void TImageEnView::Clear()
{
    const QSize size = layers_[0].bitmap.size();
    layers_.assign(1, Layer{QImage(size, QImage::Format_BGR888), QImage(), 255});
    layers_[0].bitmap.fill(background_);
    current_ = 0;
    selection_ = QRect();
    Update();
}

void TImageEnView::SetBackground(const QColor& colour)
{
    background_ = colour;
    Update();
}

int TImageEnView::IdealComponentWidth() const { return layers_[0].bitmap.width() + 2 * kFrame; }
int TImageEnView::IdealComponentHeight() const { return layers_[0].bitmap.height() + 2 * kFrame; }

QPoint TImageEnView::pictureOrigin() const
{
    const QSize size = layers_[0].bitmap.size();
    return QPoint(std::max(kFrame, (width() - size.width()) / 2), std::max(kFrame, (height() - size.height()) / 2));
}

void TImageEnView::Select(int x1, int y1, int x2, int y2)
{
    selection_ = QRect();
    if (x1 == x2 || y1 == y2)
        return;
    QRect wanted(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2)));
    if (selectionBase_ == iesbClientArea)
        wanted.translate(-pictureOrigin());
    selection_ = wanted.intersected(Bitmap().rect());
}

void TImageEnView::CropSel()
{
    if (!Selected())
        return;
    Layer& l = layer();
    l.bitmap = l.bitmap.copy(selection_);
    if (!l.alpha.isNull())
        l.alpha = l.alpha.copy(selection_);
    selection_ = QRect();
    Update();
}

int TImageEnView::LayersAdd()
{
    Layer added{QImage(layers_[0].bitmap.size(), QImage::Format_BGR888), QImage(), 255};
    added.bitmap.fill(background_);
    if (layers_.size() > 1)
        layers_.resize(1);  // at most one extra layer
    layers_.push_back(added);
    current_ = 1;
    Update();
    return current_;
}

void TImageEnView::LayersRemove(int index)
{
    if (index < 1 || index >= LayersCount())
        return;
    layers_.erase(layers_.begin() + index);
    current_ = 0;
    Update();
}

void TImageEnView::SetLayersCurrent(int index)
{
    if (index >= 0 && index < LayersCount())
        current_ = index;
}

int TImageEnView::LayerOpacity(int index) const { return layers_.at(size_t(index)).cap; }

void TImageEnView::SetLayerOpacity(int index, int cap)
{
    layers_.at(size_t(index)).cap = std::clamp(cap, 0, 255);
    Update();
}

void TImageEnView::LayersMerge()
{
    if (LayersCount() < 2)
        return;
    const Layer& top = layers_[1];
    BlendOnto(layers_[0].bitmap, top.bitmap, top.alpha, top.cap, 0, 0);
    layers_.resize(1);
    current_ = 0;
    Update();
}

void TImageEnView::EnableAlphaChannel()
{
    if (layer().alpha.isNull())
        layer().alpha = OpaqueAlpha(layer().bitmap.size());
}

bool TImageEnView::HasAlphaChannel() const { return !layer().alpha.isNull(); }
QImage& TImageEnView::AlphaChannel() { return layer().alpha; }

void TImageEnView::RemoveAlphaChannel(bool merge)
{
    if (merge && HasAlphaChannel())
        layer().bitmap = Flatten(layer().bitmap, layer().alpha, background_);
    layer().alpha = QImage();
    Update();
}

void TImageEnView::LockUpdate() { ++lockDepth_; }

void TImageEnView::UnlockUpdate()
{
    if (lockDepth_ > 0 && --lockDepth_ == 0)
        update();
}

void TImageEnView::LoadFromFile(const QString& path) { Assign(ReadPicture(path)); }

void TImageEnView::SaveToFileJpeg(const QString& path) { WriteJpeg(Composed(), path, jpegQuality_); }

void TImageEnView::SetJpegQuality(int quality) { jpegQuality_ = std::clamp(quality, 1, 100); }

void TImageEnView::Resample(int width, int height, TResampleFilter filter)
{
    Layer& l = layer();
    QImage bitmap = ::Resample(l.bitmap, width, height, filter);
    if (!l.alpha.isNull())
        l.alpha = ::Resample(l.alpha, width, height, filter);
    l.bitmap = std::move(bitmap);
    selection_ = QRect();
    Update();
}

void TImageEnView::SetTransparentColors(const QColor& low, const QColor& high, int alpha)
{
    EnableAlphaChannel();
    SetAlphaInColourRange(layer().bitmap, layer().alpha, low, high, alpha);
    Update();
}

void TImageEnView::AddSoftShadow(int radius, int dx, int dy)
{
    ::AddSoftShadow(layer().bitmap, layer().alpha, radius, dx, dy);
    Update();
}

void TImageEnView::DrawWithAlpha(QImage& target, int x, int y) const
{
    BlendOnto(target, layers_[0].bitmap, layers_[0].alpha, 255, x, y);
}

QImage TImageEnView::Composed() const
{
    QImage picture = Flatten(layers_[0].bitmap, layers_[0].alpha, background_);
    if (LayersCount() > 1)
        BlendOnto(picture, layers_[1].bitmap, layers_[1].alpha, layers_[1].cap, 0, 0);
    return picture;
}

void TImageEnView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    qDrawShadePanel(&painter, rect(), palette(), true, kFrame);
    if (!layers_[0].bitmap.isNull())
        painter.drawImage(pictureOrigin(), Composed());
}
