#pragma once
// Base of every object decoded from a track's object stream: the id under
// which the stream numbered it.

#include <cstdint>

namespace vra {

class KtObject {
public:
    explicit KtObject(std::int32_t id) : id_(id) {}
    virtual ~KtObject() = default;
    KtObject(const KtObject&) = delete;
    KtObject& operator=(const KtObject&) = delete;

    std::int32_t GetId() const { return id_; }

private:
    std::int32_t id_;
};

}  // namespace vra
