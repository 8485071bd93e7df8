#pragma once

#include "thumbs/Resampler.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <vector>

enum TSelectionBase { iesbClientArea, iesbBitmap };

// The image view: layer 0 (the picture) and at most one more layer, each a 24-bit bitmap
// (Format_BGR888) with an optional separate alpha plane (Format_Grayscale8) and an opacity cap;
// a selection that a crop cuts to; JPEG quality for saving. Paints the layers merged, centred.
class TImageEnView : public QWidget {
    Q_OBJECT
public:
    explicit TImageEnView(QWidget* parent = nullptr);

    // The current layer's bitmap; write to it freely, then Update() to repaint.
    QImage& Bitmap();
    const QImage& Bitmap() const;
    void Update();

    void Assign(const QImage& picture);       // layer 0 becomes the picture (alpha kept as a plane)
    void Assign(const TImageEnView& other);   // layers and JPEG quality copied
    void Clear();                             // one layer, filled with the background, no alpha
    QColor Background() const { return background_; }
    void SetBackground(const QColor& colour);
    int IdealComponentWidth() const;
    int IdealComponentHeight() const;

    void SetSelectionBase(TSelectionBase base) { selectionBase_ = base; }
    void Select(int x1, int y1, int x2, int y2);  // replaces the selection; both corners included
    void DeSelect() { selection_ = QRect(); }
    bool Selected() const { return !selection_.isNull(); }
    QRect Selection() const { return selection_; }
    void CropSel();

    int LayersCount() const { return int(layers_.size()); }
    int LayersAdd();                         // a layer of the picture's size; it becomes current
    void LayersRemove(int index);            // layer 0 stays
    int LayersCurrent() const { return current_; }
    void SetLayersCurrent(int index);
    int LayerOpacity(int index) const;
    void SetLayerOpacity(int index, int cap);
    void LayersMerge();                      // layer 1 merged into layer 0 and removed

    void EnableAlphaChannel();               // current layer gets an opaque alpha plane if it has none
    bool HasAlphaChannel() const;
    QImage& AlphaChannel();                  // current layer's plane; null without one
    void RemoveAlphaChannel(bool merge);     // merge: flatten onto the background first

    void LockUpdate();                       // nested; the last UnlockUpdate repaints once
    void UnlockUpdate();

    void LoadFromFile(const QString& path);  // AppError naming the file on failure
    void SaveToFileJpeg(const QString& path);  // FileCreateError / AppError on failure
    int JpegQuality() const { return jpegQuality_; }
    void SetJpegQuality(int quality);

    void Resample(int width, int height, TResampleFilter filter);
    void SetTransparentColors(const QColor& low, const QColor& high, int alpha);
    void AddSoftShadow(int radius, int dx, int dy);
    void DrawWithAlpha(QImage& target, int x, int y) const;  // layer 0 blended onto target by its alpha

    QImage Composed() const;                 // what the view shows: layers merged, flattened

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Layer {
        QImage bitmap;
        QImage alpha;
        int cap = 255;
    };
    Layer& layer() { return layers_[size_t(current_)]; }
    const Layer& layer() const { return layers_[size_t(current_)]; }
    QPoint pictureOrigin() const;

    std::vector<Layer> layers_;
    int current_ = 0;
    QRect selection_;
    TSelectionBase selectionBase_ = iesbClientArea;
    QColor background_;
    int jpegQuality_ = 90;
    int lockDepth_ = 0;
};
