// ChunkedBytes: an append-only byte sequence kept in fixed chunks, so that growing it never
// copies what it holds nor needs twice its size for a moment.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

class ChunkedBytes {
public:
    void push(unsigned char byte);
    void append(const char* bytes, std::size_t length);
    unsigned char at(std::size_t offset) const { return chunks_[offset / Chunk][offset % Chunk]; }
    std::size_t size() const { return size_; }
    void clear();

private:
    static constexpr std::size_t Chunk = 1 << 18;
    std::vector<std::unique_ptr<unsigned char[]>> chunks_;
    std::size_t size_ = 0;
};
