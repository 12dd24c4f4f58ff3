// Little-endian binary records: one bounded reader and one writer for every
// binary file of the program. The reader never reads outside its buffer and
// lets callers check a count against the bytes left before allocating.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstring>

#include "AppError.h"
#include "FileOps.h"

namespace plat {

class BinaryReader {
public:
    BinaryReader(const char* data, size_t size) : p_(data), size_(size) {}
    explicit BinaryReader(const QByteArray& b) : p_(b.constData()), size_(static_cast<size_t>(b.size())) {}
    // The rest of a file, read in blocks while it is decoded: memory holds
    // one block, or one field where a field is longer. Error 7 at once when
    // the file says it is larger than maxBytes. A failed read, or more than
    // maxBytes, ends the input there and is kept for finish().
    explicit BinaryReader(ReadOnlyFile& file, int64_t maxBytes = kMaxReadBytes, size_t block = size_t(1) << 18);
    ~BinaryReader();
    BinaryReader(const BinaryReader&) = delete;
    BinaryReader& operator=(const BinaryReader&) = delete;

    // Offset from the start of the input.
    size_t pos() const { return base_ + pos_; }
    // From a file this reads all the rest of it: for error paths only.
    size_t remaining() {
        if (stream_) readToEnd();
        return size_ - pos_;
    }
    bool atEnd() { return !has(1); }
    // Within the bytes held, or forward.
    void seek(size_t pos);
    void skip(size_t n) { need(n); pos_ += n; }
    // Error 62 unless n more bytes are there; they are then at current().
    void need(size_t n) {
        if (n > size_ - pos_ && !more(n)) ThrowRuntimeError(ErrInputPastEnd);
    }
    bool has(size_t n) { return n <= size_ - pos_ || more(n); }
    // A file's failed read (or error 7) rethrown, after reading whatever
    // was left unread: a decoding error must not hide one further on.
    void finish();

    uint8_t u8() { need(1); return static_cast<uint8_t>(p_[pos_++]); }
    int16_t i16() { return static_cast<int16_t>(raw<uint16_t>()); }
    uint16_t u16() { return raw<uint16_t>(); }
    int32_t i32() { return static_cast<int32_t>(raw<uint32_t>()); }
    uint32_t u32() { return raw<uint32_t>(); }
    float f32() { uint32_t u = raw<uint32_t>(); float f; std::memcpy(&f, &u, 4); return f; }
    double f64() { uint64_t u = raw<uint64_t>(); double d; std::memcpy(&d, &u, 8); return d; }
    QByteArray bytes(size_t n) {
        need(n);
        QByteArray b(p_ + pos_, static_cast<qsizetype>(n));
        pos_ += n;
        return b;
    }
    // Valid up to the next read of any kind.
    const char* current() const { return p_ + pos_; }

private:
    struct Stream;
    template <class T>
    T raw() {
        need(sizeof(T));
        T v = 0;
        for (size_t i = 0; i < sizeof(T); ++i) v |= static_cast<T>(static_cast<T>(static_cast<uint8_t>(p_[pos_ + i])) << (8 * i));
        pos_ += sizeof(T);
        return v;
    }
    // Brings n bytes from pos_ into the buffer; false when the input ends first.
    bool more(size_t n);
    void readToEnd();
    const char* p_;
    size_t size_;     // bytes at p_
    size_t pos_ = 0;  // within them
    size_t base_ = 0; // offset of p_ in the input
    Stream* stream_ = nullptr;   // owned; none over memory
};

// Collects bytes in memory; with a sink it passes them on in large blocks.
class BinaryWriter {
public:
    BinaryWriter() = default;
    explicit BinaryWriter(AtomicFileWriter* sink) : sink_(sink) {}
    ~BinaryWriter() = default;

    void u8(uint8_t v) { buf_.push_back(static_cast<char>(v)); spill(); }
    void i16(int16_t v) { raw<uint16_t>(static_cast<uint16_t>(v)); }
    void u16(uint16_t v) { raw<uint16_t>(v); }
    void i32(int32_t v) { raw<uint32_t>(static_cast<uint32_t>(v)); }
    void u32(uint32_t v) { raw<uint32_t>(v); }
    void f32(float f) { uint32_t u; std::memcpy(&u, &f, 4); raw<uint32_t>(u); }
    void f64(double d) { uint64_t u; std::memcpy(&u, &d, 8); raw<uint64_t>(u); }
    void bytes(const char* p, size_t n) { buf_.append(p, static_cast<qsizetype>(n)); spill(); }
    void bytes(const QByteArray& b) { buf_.append(b); spill(); }

    // Bytes written so far, including those passed to the sink.
    int64_t size() const { return flushed_ + buf_.size(); }
    const QByteArray& buffer() const { return buf_; }
    void flush() {
        if (sink_ && !buf_.isEmpty()) {
            sink_->write(buf_);
            flushed_ += buf_.size();
            buf_.clear();
        }
    }

private:
    template <class T>
    void raw(T v) {
        char b[sizeof(T)];
        for (size_t i = 0; i < sizeof(T); ++i) b[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        buf_.append(b, sizeof(T));
        spill();
    }
    void spill() {
        if (sink_ && buf_.size() >= (1 << 20)) flush();
    }
    AtomicFileWriter* sink_ = nullptr;
    QByteArray buf_;
    int64_t flushed_ = 0;
};

} // namespace plat
