// ChunkedBytes: appends into the last chunk, starting a new one when it is full.
#include "store/ChunkedBytes.h"

void ChunkedBytes::push(unsigned char byte) {
    if (size_ % Chunk == 0 && size_ / Chunk == chunks_.size())
        chunks_.push_back(std::make_unique_for_overwrite<unsigned char[]>(Chunk));
    chunks_[size_ / Chunk][size_ % Chunk] = byte;
    ++size_;
}

void ChunkedBytes::append(const char* bytes, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) push(static_cast<unsigned char>(bytes[i]));
}

void ChunkedBytes::clear() {
    chunks_.clear();
    chunks_.shrink_to_fit();
    size_ = 0;
}
