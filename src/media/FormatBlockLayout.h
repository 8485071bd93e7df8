#pragma once

// Byte offsets of the platform's format block structures, shared by the detector that writes them
// and the media details that read them. All fields are little-endian.
namespace formatblock {

// VIDEOINFOHEADER (and MPEG1VIDEOINFO, which begins with one): the bitmap header follows 48 bytes.
constexpr int VideoInfoBitmap = 48;
// VIDEOINFOHEADER2 (and MPEG2VIDEOINFO): the bitmap header follows 72 bytes.
constexpr int VideoInfo2Bitmap = 72;
constexpr int VideoInfo2AspectX = 56;
constexpr int VideoInfo2AspectY = 60;
// Shared head of both: source and target rectangles, bit rate, error rate, frame time.
constexpr int RectSource = 0;
constexpr int RectTarget = 16;
constexpr int BitRate = 32;
constexpr int AvgTimePerFrame = 40;

// BITMAPINFOHEADER, relative to its start.
constexpr int BitmapSize = 40;
constexpr int BitmapWidth = 4;
constexpr int BitmapHeight = 8;
constexpr int BitmapPlanes = 12;
constexpr int BitmapBitCount = 14;
constexpr int BitmapCompression = 16;
constexpr int BitmapSizeImage = 20;
// Read up to and including the compression value.
constexpr int BitmapFieldsRead = 20;

// WAVEFORMATEX.
constexpr int WaveTag = 0;
constexpr int WaveChannels = 2;
constexpr int WaveSamplesPerSec = 4;
constexpr int WaveAvgBytesPerSec = 8;
constexpr int WaveBlockAlign = 12;
constexpr int WaveBitsPerSample = 14;
constexpr int WaveExtraSize = 16;
constexpr int WaveSize = 18;
// Read up to and including the bits per sample.
constexpr int WaveFieldsRead = 16;

}  // namespace formatblock
