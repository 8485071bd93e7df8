#include "media/MediaError.h"

extern "C" {
#include <libavutil/error.h>
}

namespace media {

EMediaError::EMediaError(uint32_t code, const QString& text)
    : AppError(QStringLiteral("%1 ($%2).").arg(text).arg(code, 0, 16)), code_(code)
{
}

EMediaError EMediaError::fromAv(int averror)
{
    return fromCode(static_cast<uint32_t>(averror));
}

EMediaError EMediaError::fromCode(uint32_t code)
{
    return EMediaError(code, errorText(code));
}

QString errorText(uint32_t code)
{
    switch (code) {
    case E_UNEXPECTED_GRAPH: return QStringLiteral("Catastrophic failure");
    case E_FAIL_GRAPH: return QStringLiteral("Unspecified error");
    case VFW_E_CANNOT_RENDER: return QStringLiteral("No combination of filters could be found to render the stream");
    case VFW_E_NOT_FOUND: return QStringLiteral("The system cannot find the file specified");
    default: break;
    }
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(static_cast<int>(code), text, sizeof text);
    return QString::fromUtf8(text);
}

}  // namespace media
