#include "thumbs/PngIO.h"

#include "platform/AppError.h"
#include "thumbs/FileBytes.h"


#include <png.h>

namespace {

[[noreturn]] void fail(const QString& path, const char* reason)
{
    throw AppError(QStringLiteral("Cannot read PNG file \"%1\": %2").arg(path, QString::fromLocal8Bit(reason)));
}

// libpng's simplified reader keeps its own error handling (no longjmp through our frames).
struct PngReader {
    png_image image{};
    PngReader() { image.version = PNG_IMAGE_VERSION; }
    ~PngReader() { png_image_free(&image); }
};

}  // namespace

QImage ReadPng(const QString& path)
{
    const QByteArray data = ReadFileBytes(path);

    PngReader reader;
    if (!png_image_begin_read_from_memory(&reader.image, data.constData(), size_t(data.size())))
        fail(path, reader.image.message);
    const bool alpha = (reader.image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "Format_ARGB32 is read as BGRA bytes");
    reader.image.format = alpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
    QImage picture(int(reader.image.width), int(reader.image.height),
                   alpha ? QImage::Format_ARGB32 : QImage::Format_BGR888);
    if (picture.isNull())
        fail(path, "picture too large");
    if (!png_image_finish_read(&reader.image, nullptr, picture.bits(), png_int_32(picture.bytesPerLine()), nullptr))
        fail(path, reader.image.message);
    return picture;
}
