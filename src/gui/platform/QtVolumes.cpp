#include "gui/platform/QtVolumes.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>

#include <cctype>
#include <set>

namespace vra {

namespace {

bool StartsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// The whole disk a partition belongs to, as /sys/block names it.
std::string DiskOf(const std::string& device) {
    std::string name = device.substr(device.rfind('/') + 1);
    if (QFile::exists(QString::fromStdString("/sys/block/" + name))) return name;
    // sdb1 -> sdb; nvme0n1p2 / mmcblk0p1 -> nvme0n1 / mmcblk0
    while (!name.empty() && std::isdigit(static_cast<unsigned char>(name.back()))) name.pop_back();
    if (!name.empty() && name.back() == 'p' &&
        QFile::exists(QString::fromStdString("/sys/block/" + name.substr(0, name.size() - 1))))
        name.pop_back();
    return name;
}

}  // namespace

bool QtVolumes::IsRemovable(const std::string& device, const std::string& root) {
    if (StartsWith(device, "/dev/sr")) return true;
    for (const char* place : {"/media/", "/run/media/", "/mnt/"})
        if (StartsWith(root + "/", place) && root.size() + 1 > std::string(place).size()) return true;
    if (!StartsWith(device, "/dev/")) return false;
    QFile flag(QString::fromStdString("/sys/block/" + DiskOf(device) + "/removable"));
    if (!flag.open(QIODevice::ReadOnly)) return false;
    return flag.readAll().trimmed() == "1";
}

std::vector<Volume> QtVolumes::List() {
    std::vector<Volume> out;
    std::set<std::string> opticalSeen;
    for (const QStorageInfo& s : QStorageInfo::mountedVolumes()) {
        if (!s.isValid() || !s.isReady()) continue;
        const std::string device = s.device().toStdString();
        const std::string root = s.rootPath().toStdString();
        if (!IsRemovable(device, root)) continue;
        Volume v;
        v.root = root;
        v.device = device;
        v.name = s.name().toStdString();
        v.fileSystem = s.fileSystemType().toStdString();
        v.ready = true;
        if (StartsWith(device, "/dev/sr")) opticalSeen.insert(device);
        out.push_back(std::move(v));
    }
    // Optical drives with no disc mounted.
    const QStringList drives = QDir("/dev").entryList({"sr*"}, QDir::System | QDir::Files, QDir::Name);
    for (const QString& d : drives) {
        const std::string device = "/dev/" + d.toStdString();
        if (opticalSeen.count(device)) continue;
        Volume v;
        v.device = device;
        out.push_back(std::move(v));
    }
    return out;
}

}  // namespace vra
