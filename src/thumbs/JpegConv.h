#pragma once

#include "thumbs/Resampler.h"

#include <QImage>

class TImageEnView;

// A rectangle in picture coordinates; as a selection its Right column and Bottom row are included.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TRect&) const = default;
};

// Brightness V of a pixel: each channel scaled by 99 / 255 to the nearest integer, the largest (0..99).
int RgbToHsvValue(int red, int green, int blue);

// A line is dark when at most 5 of its n brightness values exceed 40.
bool LineIsDark(const unsigned char* values, int n);

// The part of the view's picture inside its black borders; always inside the picture.
// Raises AppError for a picture without pixels.
TRect FindBlackBorders(const TImageEnView& view);

// Shrinks the rectangle symmetrically to the proportions tw : th.
void CropToAspect(int tw, int th, TRect& rect);

// Trims the black borders and/or crops to the box's proportions, as the flags say.
void TrimAndCrop(TImageEnView& view, int boxWidth, int boxHeight, bool trim, bool crop);

// Resamples the bitmap to fit the box, keeping its proportions; errors leave it as it was.
void ResampleToFit(QImage& bitmap, int maxWidth, int maxHeight, TResampleFilter filter);

// Changes w or h so that w : h becomes aw : ah without growing either.
void FitSizeToAspect(int aw, int ah, int& w, int& h);
