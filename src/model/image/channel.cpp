#include "model/image/channel.h"

namespace qm54 {

TChannels::TChannels()
{
    for (int i = 0; i < ChannelCount; ++i) channels_[static_cast<std::size_t>(i)].Number = i + 1;
}

}  // namespace qm54
