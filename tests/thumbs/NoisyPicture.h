#pragma once

#include <QImage>
#include <QRandomGenerator>

// A 24-bit picture of random bytes, the same for the same seed.
inline QImage noisyPicture(int w, int h, quint32 seed = 1234)
{
    QRandomGenerator rng(seed);
    QImage img(w, h, QImage::Format_BGR888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w * 3; ++x)
            img.scanLine(y)[x] = uchar(rng.bounded(256));
    return img;
}
