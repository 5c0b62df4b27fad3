#include "app/channel_summary.h"

#include <algorithm>

#include "measurement/channel_names.h"

namespace sonvera {

std::vector<ChannelSummary> channelSummaries(const DeviceCatalogue& catalogue, const MeasurementFile& file,
                                             const FileSummary& summary) {
  std::vector<ChannelSummary> channels;
  for (std::int32_t c = 0; c < file.description.channelCount; ++c) {
    ChannelSummary channel{channelName(catalogue, file.values, c), channelUnit(catalogue, file.values, file.channels, c),
                           std::nullopt, std::nullopt};
    for (const bool underload : {false, true}) {
      const auto load = std::find_if(summary.loads.begin(), summary.loads.end(), [&](const LoadFigures& l) {
        return l.channel == c && l.underload == underload;
      });
      if (load == summary.loads.end()) continue;
      ChannelLoadShare share{load->percent, std::nullopt};
      if (load->count > 0) share.firstRecord = load->firstRecord;
      (underload ? channel.underload : channel.overload) = share;
    }
    channels.push_back(std::move(channel));
  }
  return channels;
}

}  // namespace sonvera
