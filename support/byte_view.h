// Bounds-checked little-endian view over bytes read from a file. Every read of file bytes
// goes through here: a read that does not fit the view yields 0 and never touches memory
// outside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace support {

class ByteView {
 public:
  constexpr ByteView() = default;
  constexpr ByteView(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}
  ByteView(const std::vector<uint8_t>& bytes) : data_(bytes.data()), size_(bytes.size()) {}

  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  // True when [offset, offset + length) lies inside the view (overflow-safe).
  bool contains(int64_t offset, int64_t length) const {
    return offset >= 0 && length >= 0 && static_cast<uint64_t>(offset) <= size_ &&
           static_cast<uint64_t>(length) <= size_ - static_cast<uint64_t>(offset);
  }

  uint8_t u8(int64_t offset) const { return contains(offset, 1) ? data_[offset] : 0; }
  int8_t i8(int64_t offset) const { return static_cast<int8_t>(u8(offset)); }
  uint16_t u16(int64_t offset) const { return static_cast<uint16_t>(le(offset, 2)); }
  int16_t i16(int64_t offset) const { return static_cast<int16_t>(u16(offset)); }
  uint32_t u24(int64_t offset) const { return static_cast<uint32_t>(le(offset, 3)); }
  uint32_t u32(int64_t offset) const { return static_cast<uint32_t>(le(offset, 4)); }
  int32_t i32(int64_t offset) const { return static_cast<int32_t>(u32(offset)); }
  uint64_t u64(int64_t offset) const { return le(offset, 8); }
  double f64(int64_t offset) const {
    uint64_t bits = u64(offset);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  float f32(int64_t offset) const {
    uint32_t bits = u32(offset);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }

  // The part [offset, offset + length), or an empty view when it does not fit.
  ByteView slice(int64_t offset, int64_t length) const {
    return contains(offset, length) ? ByteView(data_ + offset, static_cast<size_t>(length)) : ByteView();
  }
  // The part from offset to the end, or an empty view.
  ByteView from(int64_t offset) const {
    return contains(offset, 0) ? ByteView(data_ + offset, size_ - static_cast<size_t>(offset)) : ByteView();
  }

 private:
  uint64_t le(int64_t offset, int width) const {
    if (!contains(offset, width)) return 0;
    uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = (value << 8) | data_[offset + i];
    return value;
  }

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace support
