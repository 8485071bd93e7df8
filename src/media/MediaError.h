#pragma once

#include "platform/AppError.h"

#include <cstdint>

namespace media {

// Error codes of the playback graph that do not come from FFmpeg (HRESULT values of the platform
// whose role they play). FFmpeg failures carry FFmpeg's own negative error number as the code.
enum MediaErrorCode : uint32_t {
    E_UNEXPECTED_GRAPH = 0x8000FFFF,   // a call on a graph that has no file
    E_FAIL_GRAPH = 0x80004005,
    VFW_E_CANNOT_RENDER = 0x80040218,  // no filter combination renders a stream
    VFW_E_NOT_FOUND = 0x80040216,      // the file cannot be found
};

// A failing playback-graph call. The message is the error's text followed by " ($<hex code>).".
class EMediaError : public AppError {
public:
    EMediaError(uint32_t code, const QString& text);
    uint32_t code() const { return code_; }

    // From an FFmpeg error number (negative AVERROR).
    static EMediaError fromAv(int averror);
    static EMediaError fromCode(uint32_t code);

private:
    uint32_t code_;
};

// The text of an error code: FFmpeg's text for FFmpeg codes, the graph's own text for the others.
QString errorText(uint32_t code);

}  // namespace media
