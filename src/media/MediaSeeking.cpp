#include "media/MediaSeeking.h"

#include "media/PlaybackSession.h"

namespace media {

bool MediaSeeking::getCapabilities(uint32_t& capabilities) const
{
    const auto session = session_.lock();
    if (!session)
        return false;
    capabilities = CanGetCurrentPos | CanGetStopPos;
    if (session->duration() > 0)
        capabilities |= CanGetDuration;
    if (session->seekable())
        capabilities |= CanSeekAbsolute | CanSeekForwards | CanSeekBackwards;
    return true;
}

bool MediaSeeking::getDuration(MediaTime& duration) const
{
    const auto session = session_.lock();
    if (!session)
        return false;
    duration = session->duration();
    return true;
}

bool MediaSeeking::getStopPosition(MediaTime& stop) const
{
    return getDuration(stop);
}

bool MediaSeeking::getCurrentPosition(MediaTime& current) const
{
    const auto session = session_.lock();
    if (!session)
        return false;
    current = session->position();
    return true;
}

bool MediaSeeking::getPositions(MediaTime& current, MediaTime& stop) const
{
    return getCurrentPosition(current) && getStopPosition(stop);
}

bool MediaSeeking::setPositions(MediaTime current, Positioning currentFlags, MediaTime stop, Positioning stopFlags)
{
    const auto session = session_.lock();
    if (!session || !session->seekable())
        return false;
    if (stopFlags == Positioning::Relative && stop != 0)
        return false;
    if (stopFlags == Positioning::Absolute && stop != session->duration())
        return false;
    if (currentFlags == Positioning::None)
        return true;
    session->setPosition(currentFlags == Positioning::Relative ? session->position() + current : current);
    return true;
}

}  // namespace media
