#pragma once

#include "media/MediaDecoder.h"

#include <cstdint>
#include <memory>

namespace media {

class PlaybackSession;

// Seeking capability bits (AM_SEEKING_*).
enum SeekingCapability : uint32_t {
    CanSeekAbsolute = 0x1,
    CanSeekForwards = 0x2,
    CanSeekBackwards = 0x4,
    CanGetCurrentPos = 0x8,
    CanGetStopPos = 0x10,
    CanGetDuration = 0x20,
};

// How setPositions treats a position (AM_SEEKING_*Positioning).
enum class Positioning { None, Absolute, Relative };

// The graph's seeking interface, in media time (100 ns). It belongs to the file rendered when it was
// obtained: once that file is cleared, every call fails (returns false) instead of reaching another.
class MediaSeeking {
public:
    explicit MediaSeeking(std::weak_ptr<PlaybackSession> session) : session_(std::move(session)) {}

    bool getCapabilities(uint32_t& capabilities) const;
    bool getDuration(MediaTime& duration) const;
    bool getStopPosition(MediaTime& stop) const;
    bool getCurrentPosition(MediaTime& current) const;
    bool getPositions(MediaTime& current, MediaTime& stop) const;
    // The stop position is always the end of the media; only None (or the end itself) is accepted for it.
    bool setPositions(MediaTime current, Positioning currentFlags, MediaTime stop = 0,
                      Positioning stopFlags = Positioning::None);
    // Media time is the only time format.
    bool setTimeFormatMediaTime() const { return !session_.expired(); }

private:
    std::weak_ptr<PlaybackSession> session_;
};

}  // namespace media
