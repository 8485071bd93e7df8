#pragma once

#include <QColor>
#include <QImage>

// Operations on a 24-bit picture (Format_BGR888) with an optional separate alpha plane
// (Format_Grayscale8, same size; a null plane means fully opaque).

// Blends `top` onto `bottom` with its top-left corner at (x, y), clipped to `bottom`: per pixel
// a = min(alpha, cap) / 255 and out = a x top + (1 - a) x bottom, to the nearest integer.
void BlendOnto(QImage& bottom, const QImage& top, const QImage& topAlpha, int cap, int x, int y);

// The picture flattened onto a background colour by its alpha.
QImage Flatten(const QImage& bitmap, const QImage& alpha, const QColor& background);

// Gives the alpha `value` to every pixel whose red, green and blue lie within [low, high].
void SetAlphaInColourRange(const QImage& bitmap, QImage& alpha, const QColor& low, const QColor& high, int value);

// Adds a black shadow of the picture's alpha, blurred over `radius` pixels and moved by (dx, dy),
// behind the picture; the shadow is cut at the picture's edges.
void AddSoftShadow(QImage& bitmap, QImage& alpha, int radius, int dx, int dy);

// An opaque alpha plane for a picture of `size`.
QImage OpaqueAlpha(const QSize& size);
