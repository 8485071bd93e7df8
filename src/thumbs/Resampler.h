#pragma once

#include <QImage>

// The twelve resample filters, in the order and with the values the settings and the list use.
enum TResampleFilter {
    rfNone,
    rfTriangle,
    rfHermite,
    rfBell,
    rfBSpline,
    rfLanczos3,
    rfMitchell,
    rfNearest,
    rfLinear,
    rfFastLinear,
    rfBilinear,
    rfBicubic,
};
constexpr int ResampleFilterCount = rfBicubic + 1;

// Scales a picture to width x height with the filter. A 24-bit picture (Format_BGR888) is resampled
// as three channels, a Format_Grayscale8 plane as one; other formats are converted to 24 bits first.
// Raises AppError for an empty picture or a target size below 1.
QImage Resample(const QImage& source, int width, int height, TResampleFilter filter);

// The filter's name as the list shows it ("None" .. "Bicubic").
const char* ResampleFilterName(TResampleFilter filter);

// The filter whose name is exactly `name` (case-sensitive); false when none is.
bool ResampleFilterFromName(const QString& name, TResampleFilter& filter);
