// SharedShape: how an operation shares its work over threads, set by tests and read by each
// operation as it starts; and the processors there are to share it over.
#pragma once

#include <algorithm>
#include <mutex>
#include <thread>

template <typename Shape>
class SharedShape {
public:
    Shape get() const {
        std::lock_guard<std::mutex> hold(lock);
        return shape;
    }
    void set(const Shape& value) {
        std::lock_guard<std::mutex> hold(lock);
        shape = value;
    }
    // One thread per processor, or the shape's own count when it names one (above 0).
    static int threadsFor(int named) {
        if (named > 0) return named;
        const unsigned count = std::thread::hardware_concurrency();
        return count == 0 ? 1 : static_cast<int>(std::min(count, 64u));
    }

private:
    mutable std::mutex lock;
    Shape shape{};
};
