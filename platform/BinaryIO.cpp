#include "BinaryIO.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <vector>

namespace plat {

struct BinaryReader::Stream {
    ReadOnlyFile& file;
    int64_t maxBytes;
    std::vector<char> buf;
    int64_t read = 0;           // bytes taken from the file so far
    bool ended = false;
    std::exception_ptr failure;
};

BinaryReader::BinaryReader(ReadOnlyFile& file, int64_t maxBytes, size_t block) : p_(nullptr), size_(0) {
    if (file.size() > maxBytes) ThrowRuntimeError(ErrOutOfMemory, file.path());
    stream_ = new Stream{file, maxBytes, std::vector<char>(std::max<size_t>(block, 16)), 0, false, nullptr};
    p_ = stream_->buf.data();
}

BinaryReader::~BinaryReader() { delete stream_; }

void BinaryReader::seek(size_t pos) {
    if (pos >= base_ && pos - base_ <= size_) {
        pos_ = pos - base_;
        return;
    }
    if (pos < base_) ThrowRuntimeError(ErrInputPastEnd);   // dropped with an earlier block
    skip(pos - this->pos());
}

bool BinaryReader::more(size_t n) {
    if (!stream_) return false;
    Stream& s = *stream_;
    if (s.ended) return false;
    // The bytes not yet decoded move to the front; the buffer grows only
    // when it is full of the file's bytes, so a field's count read from the
    // file never allocates more than the file holds.
    const size_t kept = size_ - pos_;
    if (kept && pos_) std::memmove(s.buf.data(), s.buf.data() + pos_, kept);
    base_ += pos_;
    pos_ = 0;
    size_ = kept;
    while (size_ < n && !s.ended) {
        if (size_ == s.buf.size()) {
            const size_t cap = static_cast<size_t>(s.maxBytes) + 1;
            s.buf.resize(s.buf.size() > cap / 2 ? cap : s.buf.size() * 2);
        }
        try {
            const size_t r = s.file.read(s.buf.data() + size_, s.buf.size() - size_);
            if (r == 0) {
                s.ended = true;
            } else {
                s.read += static_cast<int64_t>(r);
                size_ += r;
                if (s.read > s.maxBytes) ThrowRuntimeError(ErrOutOfMemory, s.file.path());
            }
        } catch (...) {
            // Kept for finish(): thrown here it would be taken for a bad record.
            s.failure = std::current_exception();
            s.ended = true;
        }
    }
    p_ = s.buf.data();
    return n <= size_;
}

void BinaryReader::readToEnd() {
    more(std::numeric_limits<size_t>::max());
}

void BinaryReader::finish() {
    if (!stream_) return;
    Stream& s = *stream_;
    // Only counted: the bytes themselves are no longer needed.
    while (!s.ended) {
        pos_ = size_;
        more(s.buf.size());
    }
    if (s.failure) std::rethrow_exception(s.failure);
}

} // namespace plat
