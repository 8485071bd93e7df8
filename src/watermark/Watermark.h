#pragma once

#include <QColor>
#include <QFont>
#include <QStringList>
#include <cstdint>
#include <memory>

class TImageEnView;

// A block of text lines or a picture laid over a picture at one of nine anchors plus an offset,
// with an opacity and an optional soft shadow. It draws into a view as layer 1, keyed on
// KeyColor, either live or merged into layer 0. Smoothed text edges and a picture's own alpha
// become the layer's alpha, so no key-colour fringe shows.
class TWatermark {
public:
    static constexpr QRgb KeyColor = 0xFFFC00FC;  // RGB (252, 0, 252); marks "nothing here"

    enum : uint8_t { TypeNone = 0, TypeText = 1, TypeImage = 2 };
    // Anchor codes per axis: 0 right / bottom edge, 1 centre, 2 left / top edge.
    enum : uint8_t { AnchorFar = 0, AnchorCentre = 1, AnchorNear = 2 };

    TWatermark();
    ~TWatermark();
    TWatermark(const TWatermark&) = delete;
    TWatermark& operator=(const TWatermark&) = delete;

    uint8_t WatermarkType = TypeText;
    int32_t OffsetX = 0;  // anchor point to the watermark's centre, positive to the right
    int32_t OffsetY = 0;  // positive downwards
    uint8_t OffsetTypeX = AnchorFar;
    uint8_t OffsetTypeY = AnchorFar;
    TImageEnView* View = nullptr;  // not owned
    QFont Font;                    // face, size in points, bold, italic, underline, strike-out
    QColor FontColor = Qt::black;
    QStringList Lines;
    int32_t TextWidth = 0;   // widest line, from the last MeasureText
    int32_t TextHeight = 0;  // sum of the line heights, from the last MeasureText
    QString ImageFileName;   // set by the callers, not by LoadImage
    std::unique_ptr<TImageEnView> Image;  // the loaded picture (with its alpha); never shown
    int32_t Transparency = 200;  // 0 opaque .. 255 invisible
    int32_t ShadowRadius = 0;    // 0: no shadow
    int32_t ShadowOffsetX = 0;
    int32_t ShadowOffsetY = 0;

    void CopyFrom(const TWatermark& other);
    void MeasureText();
    // Loads `path` into Image; on failure shows "Unable to load watermark image" and the error's
    // text through the message route and returns false, leaving Image as it was.
    bool LoadImage(const QString& path);
    // Places the watermark 5 pixels inside the anchored edges, or centred.
    void ResetOffsets();
    // Replaces the view's layer 1 with the watermark; with `merge`, flattens it into the picture.
    // A type-0 watermark only removes the layer.
    void Render(bool merge);

    // Sw, Sh: the text block's measured size, or the picture's.
    QSize Size() const;
    // The font as drawn: at 96 dots per inch, so a thumbnail is the same on every screen.
    QFont DrawingFont() const;
    // The opacity cap of the layer, 255 - Transparency kept within 0..255.
    int OpacityCap() const;
};

// Top-left coordinate on one axis of a watermark of `size` in a picture of `extent`, anchored by
// `anchor` and moved by `offset`. Codes above 2 (only an edited settings file holds them) count as
// the centre.
int WatermarkPosition(int extent, uint8_t anchor, int size, int offset);

// The offset that puts a watermark of `size` 5 pixels inside the anchored edge, or centres it.
int AnchorOffset(uint8_t anchor, int size);

// The text's lines: split at CR LF, CR or LF; a final line break adds no empty line.
QStringList LinesFromText(const QString& text);
