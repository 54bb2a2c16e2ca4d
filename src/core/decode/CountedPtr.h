#pragma once
// A shared, counted pointer to a decoded object. Copies share the object;
// the last copy to let go deletes it. An empty pointer holds no object.

#include <cstddef>
#include <memory>
#include <utility>

namespace vra {

template <typename T>
class CountedPtr {
public:
    CountedPtr() = default;
    // Takes ownership of a newly made object (count 1).
    explicit CountedPtr(T* object) : ptr_(object) {}
    explicit CountedPtr(std::unique_ptr<T> object) : ptr_(std::move(object)) {}

    template <typename U>
    CountedPtr(const CountedPtr<U>& other) : ptr_(other.Shared()) {}

    T* get() const { return ptr_.get(); }
    T* operator->() const { return ptr_.get(); }
    T& operator*() const { return *ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    bool IsNull() const { return ptr_ == nullptr; }

    // Lets go of the object; the pointer is empty afterwards.
    void Release() { ptr_.reset(); }
    // Number of holders of the object (0 for an empty pointer).
    long UseCount() const { return ptr_.use_count(); }

    const std::shared_ptr<T>& Shared() const { return ptr_; }

    friend bool operator==(const CountedPtr& a, const CountedPtr& b) { return a.ptr_ == b.ptr_; }

private:
    std::shared_ptr<T> ptr_;
};

template <typename T, typename... Args>
CountedPtr<T> MakeCounted(Args&&... args) {
    return CountedPtr<T>(std::make_unique<T>(std::forward<Args>(args)...));
}

}  // namespace vra
