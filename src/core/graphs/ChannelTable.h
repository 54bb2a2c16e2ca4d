#pragma once
// The telemetry channels the graph dialog can show, under their three
// numberings: the channel code (kept by the dialog), the control id of the
// radio button that chooses it, and the print index of the printed page.

#include <span>
#include <string_view>

namespace vra {

enum class ChannelPage { None, Basic, Advanced };

struct ChannelInfo {
    int code;
    ChannelPage page;
    int controlId;  // 0 without a radio button
    std::string_view text;
    std::string_view yName;
    std::string_view yUnit;
    std::string_view yUnitImperial;  // with the speed-unit flag 1
    bool perWheel;
    bool advanced;
};

struct PrintChannel {
    int printIndex;
    std::string_view name;
    int boxId;  // 0: no box
    int code;   // 0: no channel
};

// Every channel, in code order (21 is not used).
std::span<const ChannelInfo> Channels();
// null for a code without a channel.
const ChannelInfo* ChannelByCode(int code);
// The channel of a page's radio button; null when the page has none of that id.
const ChannelInfo* ChannelByControl(ChannelPage page, int controlId);
// The radio buttons of a page in the order they stand on it.
std::span<const int> PageControls(ChannelPage page);
// The y unit the channel shows with this speed-unit flag.
std::string_view ChannelUnit(const ChannelInfo& c, int speedUnit);
bool IsPerWheel(int code);

// Print indexes 1 to 38.
std::span<const PrintChannel> PrintChannels();
const PrintChannel* PrintByIndex(int printIndex);
// The print index that shows a channel code; 0 when none does.
int PrintIndexOfCode(int code);

}  // namespace vra
