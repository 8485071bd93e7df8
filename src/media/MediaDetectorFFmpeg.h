#pragma once

#include "media/MediaDetector.h"

#include <memory>

// The media detector on libavformat: each stream of a file described as the platform's detector
// would describe it. The container's codec tag is the FourCC; FFmpeg's RIFF tables give FourCCs and
// wave format tags where the container has none.
std::unique_ptr<MediaDetector> CreateFFmpegMediaDetector();
