#include "thumbs/JpegIO.h"

#include "thumbs/FileBytes.h"

#include <QSaveFile>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <jerror.h>

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: jump back to the caller.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr info)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    info->err->format_message(info, err->message);
    std::longjmp(err->jump, 1);
}

// A file that ends early is only a warning to libjpeg (it pads with grey); here it is an error.
void onMessage(j_common_ptr info, int level)
{
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        onError(info);
}

void installErrors(ErrorManager& err)
{
    jpeg_std_error(&err.base);
    err.base.error_exit = onError;
    err.base.emit_message = onMessage;
    err.message[0] = '\0';
}

// The steps that may jump keep no C++ objects with destructors in their frames.
bool readHeader(jpeg_decompress_struct* info, const QByteArray* data)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    if (setjmp(err->jump))
        return false;
    jpeg_mem_src(info, reinterpret_cast<const unsigned char*>(data->constData()), (unsigned long)data->size());
    jpeg_read_header(info, TRUE);
    info->out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(info);
    return true;
}

bool readPixels(jpeg_decompress_struct* info, uchar* bits, qsizetype bytesPerLine)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    if (setjmp(err->jump))
        return false;
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = bits + bytesPerLine * info->output_scanline;
        jpeg_read_scanlines(info, &row, 1);
    }
    jpeg_finish_decompress(info);
    return true;
}

struct Encoded {
    unsigned char* data = nullptr;
    unsigned long size = 0;
    ~Encoded() { std::free(data); }
};

bool encode(jpeg_compress_struct* info, const QImage* bgr, int quality, Encoded* out)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    if (setjmp(err->jump))
        return false;
    jpeg_mem_dest(info, &out->data, &out->size);
    info->image_width = JDIMENSION(bgr->width());
    info->image_height = JDIMENSION(bgr->height());
    info->input_components = 3;
    info->in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, quality, TRUE);
    info->optimize_coding = TRUE;
    const int chroma = quality >= 90 ? 1 : 2;  // luma sampling factor: 1 = 4:4:4, 2 = 4:2:0
    info->comp_info[0].h_samp_factor = chroma;
    info->comp_info[0].v_samp_factor = chroma;
    jpeg_start_compress(info, TRUE);
    while (info->next_scanline < info->image_height) {
        auto row = const_cast<JSAMPROW>(bgr->constScanLine(int(info->next_scanline)));
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
    return true;
}

}  // namespace

QImage ReadJpeg(const QString& path)
{
    const QByteArray data = ReadFileBytes(path);

    ErrorManager err;
    jpeg_decompress_struct info;
    info.err = &err.base;
    installErrors(err);
    jpeg_create_decompress(&info);
    QImage picture;
    bool ok = readHeader(&info, &data);
    if (ok) {
        picture = QImage(int(info.output_width), int(info.output_height), QImage::Format_BGR888);
        ok = !picture.isNull() && readPixels(&info, picture.bits(), picture.bytesPerLine());
        if (picture.isNull())
            qstrncpy(err.message, "Picture too large", sizeof err.message);
    }
    jpeg_destroy_decompress(&info);
    if (!ok)
        throw AppError(QStringLiteral("Cannot read JPEG file \"%1\": %2").arg(path, QString::fromLocal8Bit(err.message)));
    return picture;
}

void WriteJpeg(const QImage& picture, const QString& path, int quality)
{
    if (picture.isNull())
        throw AppError(QStringLiteral("Cannot write an empty picture to \"%1\"").arg(path));
    const QImage bgr = picture.convertToFormat(QImage::Format_BGR888);

    ErrorManager err;
    jpeg_compress_struct info;
    info.err = &err.base;
    installErrors(err);
    jpeg_create_compress(&info);
    Encoded encoded;
    const bool ok = encode(&info, &bgr, std::clamp(quality, 1, 100), &encoded);
    jpeg_destroy_compress(&info);
    if (!ok)
        throw AppError(QStringLiteral("Cannot encode JPEG file \"%1\": %2").arg(path, QString::fromLocal8Bit(err.message)));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    // QSaveFile's commit does not see a buffered write that failed (disk full, size limit), so a
    // truncated file would replace the old one: check the write and the flush before committing.
    const qint64 size = qint64(encoded.size);
    if (file.write(reinterpret_cast<const char*>(encoded.data), size) != size || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw AppError(QStringLiteral("Cannot write file \"%1\". %2").arg(path, reason));
    }
    if (!file.commit())
        throw FileCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
}
