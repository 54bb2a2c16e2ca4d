#include "core/graphs/ChannelTable.h"

#include <array>

namespace vra {

namespace {

using P = ChannelPage;

constexpr std::array<ChannelInfo, 37> kChannels = {{
    {1, P::Basic, 1032, "Speed", "Speed", "Kph", "Mph", false, false},
    {2, P::Basic, 1034, "Gear", "Gear", "Gear", "Gear", false, false},
    {3, P::Basic, 1035, "RPM", "Revs", "RPM", "RPM", false, false},
    {4, P::Basic, 1244, "Slip angle", "Degrees", "Degrees", "Degrees", false, false},
    {5, P::Basic, 1245, "Acceleration (long)", "Force", "G", "G", false, false},
    {6, P::Basic, 1246, "Acceleration (lat)", "Force", "G", "G", false, false},
    {7, P::Basic, 1252, "Acceleration (total)", "Force", "G", "G", false, false},
    {8, P::Basic, 1247, "Height", "Height", "Centimeters", "Inches", false, false},
    {9, P::Basic, 1248, "Pitch", "Angle", "Units", "Units", false, false},
    {10, P::Basic, 1249, "Roll", "Angle", "Units", "Units", false, false},
    {11, P::Basic, 1250, "Steering", "Angle", "Units", "Units", false, false},
    {12, P::Basic, 1251, "Suspension (by wheel)", "Angle", "Units", "Units", true, false},
    {13, P::Basic, 1041, "Yaw", "Angle", "Degrees", "Degrees", false, false},
    {14, P::None, 0, "", "Time", "Seconds", "Seconds", false, false},
    {15, P::Basic, 1258, "Oil pressure", "Pressure", "PSI", "PSI", false, false},
    {16, P::Basic, 1259, "Transition rate", "Rate", "G/s", "G/s", false, false},
    {17, P::Basic, 1254, "Locked wheels (by wheel)", "Locked/Not locked", "Value", "Value", true, false},
    {18, P::Basic, 1260, "Fuel pressure", "Pressure", "PSI", "PSI", false, false},
    {19, P::Basic, 1261, "Oil temperature", "Temperature", "F", "F", false, false},
    {20, P::Basic, 1262, "Water temperature", "Temperature", "F", "F", false, false},
    {22, P::Basic, 1264, "Throttle", "Throttle", "Percent", "Percent", false, false},
    {23, P::Basic, 1265, "Brake", "Brake", "Percent", "Percent", false, false},
    {24, P::Advanced, 1172, "Engine power (hp)", "Power", "hp", "hp", false, true},
    {25, P::Advanced, 1173, "Engine torque (Nm)", "Torque", "N*m", "N*m", false, true},
    {26, P::Advanced, 1175, "Long acceleration (G)", "Force", "G", "G", false, true},
    {27, P::Advanced, 1176, "Lat acceleration (G)", "Force", "G", "G", false, true},
    {28, P::Advanced, 1174, "Norm acceleration (G)", "Force", "G", "G", false, true},
    {29, P::Advanced, 1177, "Clutch (%)", "Clutch", "Percent", "Percent", false, true},
    {30, P::Advanced, 1178, "Steering shaft torque (Nm)", "Torque", "N*m", "N*m", false, true},
    {31, P::Advanced, 1179, "Tire temp inner (F) *", "Temperature", "F", "F", true, true},
    {32, P::Advanced, 1182, "Tire temp middle (F) *", "Temperature", "F", "F", true, true},
    {33, P::Advanced, 1183, "Tire temp outer (F) *", "Temperature", "F", "F", true, true},
    {34, P::Advanced, 1180, "Tire pressure (PSI) *", "Pressure", "PSI", "PSI", true, true},
    {35, P::Advanced, 1181, "Wheel camber (deg) *", "Angle", "Degrees", "Degrees", true, true},
    {36, P::Advanced, 1184, "Wheel - Force (lb) *", "Force", "lb", "lb", true, true},
    {37, P::Advanced, 1252, "Shock compr. (inch) *", "Distance", "inches", "inches", true, true},
    {38, P::Advanced, 1253, "Wheel speed (rot./s) *", "Speed", "rotations/sec", "rotations/sec", true, true},
}};

constexpr std::array<int, 21> kBasicOrder = {1032, 1034, 1035, 1245, 1246, 1259, 1252, 1247, 1248, 1249, 1250,
                                             1041, 1244, 1258, 1260, 1261, 1262, 1264, 1265, 1254, 1251};
constexpr std::array<int, 15> kAdvancedOrder = {1172, 1173, 1175, 1176, 1174, 1177, 1178, 1179,
                                                1182, 1183, 1180, 1181, 1184, 1252, 1253};

constexpr std::array<PrintChannel, 38> kPrint = {{
    {1, "Speed", 1265, 1},
    {2, "Gear", 1266, 2},
    {3, "RPM", 1267, 3},
    {4, "Acceleration (long)", 1268, 5},
    {5, "Acceleration (lat)", 1269, 6},
    {6, "Transition rate", 1270, 16},
    {7, "Acceleration (total)", 1271, 7},
    {8, "Height", 1272, 8},
    {9, "Pitch", 1273, 9},
    {10, "Roll", 1274, 10},
    {11, "Steering", 1275, 11},
    {12, "Yaw", 1276, 13},
    {13, "Slip angle", 1277, 4},
    {14, "Elapsed time", 1278, 14},
    {15, "Oil pressure", 1279, 15},
    {16, "Fuel pressure", 1280, 18},
    {17, "Oil temperature", 1281, 19},
    {18, "Water temperature", 1282, 20},
    {19, "Throttle", 1283, 22},
    {20, "Brake", 1284, 23},
    {21, "Suspension", 1286, 12},
    {22, "Locked wheels", 1287, 17},
    {23, "dummy", 0, 0},
    {24, "Engine power", 1288, 24},
    {25, "Engine torque", 1289, 25},
    {26, "Acceleration (long)", 1290, 26},
    {27, "Acceleration (lat)", 1291, 27},
    {28, "Acceleration (norm)", 1292, 28},
    {29, "Clutch", 1293, 29},
    {30, "Steering torque", 1294, 30},
    {31, "Tire temp (Inner)", 1295, 31},
    {32, "Tire temp (Middle)", 1296, 32},
    {33, "Tire temp (Outer)", 1297, 33},
    {34, "Tire pressure", 1298, 34},
    {35, "Wheel camber", 1299, 35},
    {36, "Wheel force", 1300, 36},
    {37, "Shock compression", 1301, 37},
    {38, "Wheel speed", 1302, 38},
}};

}  // namespace

std::span<const ChannelInfo> Channels() {
    return kChannels;
}

const ChannelInfo* ChannelByCode(int code) {
    for (const ChannelInfo& c : kChannels)
        if (c.code == code) return &c;
    return nullptr;
}

const ChannelInfo* ChannelByControl(ChannelPage page, int controlId) {
    for (const ChannelInfo& c : kChannels)
        if (c.page == page && c.controlId == controlId) return &c;
    return nullptr;
}

std::span<const int> PageControls(ChannelPage page) {
    if (page == ChannelPage::Basic) return kBasicOrder;
    if (page == ChannelPage::Advanced) return kAdvancedOrder;
    return {};
}

std::string_view ChannelUnit(const ChannelInfo& c, int speedUnit) {
    return speedUnit == 1 ? c.yUnitImperial : c.yUnit;
}

bool IsPerWheel(int code) {
    const ChannelInfo* c = ChannelByCode(code);
    return c && c->perWheel;
}

std::span<const PrintChannel> PrintChannels() {
    return kPrint;
}

const PrintChannel* PrintByIndex(int printIndex) {
    if (printIndex < 1 || printIndex > static_cast<int>(kPrint.size())) return nullptr;
    return &kPrint[static_cast<std::size_t>(printIndex - 1)];
}

int PrintIndexOfCode(int code) {
    if (code == 0) return 0;
    for (const PrintChannel& p : kPrint)
        if (p.code == code) return p.printIndex;
    return 0;
}

}  // namespace vra
