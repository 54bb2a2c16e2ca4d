#pragma once
// Volumes for tests: a list set by the test, and a hook that runs before
// each listing, so that a test can "insert a disc" after some attempts.

#include "core/platform/Volumes.h"

#include <functional>
#include <utility>
#include <vector>

namespace vra::test {

class FakeVolumes : public Volumes {
public:
    std::vector<Volume> volumes;
    std::function<void(int listing)> beforeList;  // listing counts from 1

    std::vector<Volume> List() override {
        ++listings_;
        if (beforeList) beforeList(listings_);
        return volumes;
    }
    int listings() const { return listings_; }

    static Volume Disc(std::filesystem::path root, std::string name, std::string fs = "iso9660") {
        Volume v;
        v.root = std::move(root);
        v.device = "/dev/sr0";
        v.name = std::move(name);
        v.fileSystem = std::move(fs);
        v.ready = true;
        return v;
    }
    static Volume EmptyDrive(std::string device = "/dev/sr1") {
        Volume v;
        v.device = std::move(device);
        return v;
    }

private:
    int listings_ = 0;
};

}  // namespace vra::test
