#pragma once

#include <cstdint>

#include "input_file.h"

// Wraps an input and fails one chosen operation: the n-th read or the n-th move (counting from 1),
// with the error number given. Counts every operation, so a test can first learn how many a walk
// makes and then fail each in turn.
class FaultInput final : public InputSource {
 public:
  enum class Kind { kNone, kRead, kMove };

  FaultInput(InputSource& inner, Kind kind, std::uint64_t failAt, int error) noexcept
      : inner_(inner), kind_(kind), failAt_(failAt), error_(error) {}

  ReadResult read(std::span<std::uint8_t> buffer) override {
    ++reads_;
    if (kind_ == Kind::kRead && reads_ == failAt_) {
      return {0, error_};
    }
    return inner_.read(buffer);
  }

  int moveTo(std::uint64_t offset) override {
    ++moves_;
    if (kind_ == Kind::kMove && moves_ == failAt_) {
      return error_;
    }
    return inner_.moveTo(offset);
  }

  [[nodiscard]] std::uint64_t reads() const { return reads_; }
  [[nodiscard]] std::uint64_t moves() const { return moves_; }

 private:
  InputSource& inner_;
  Kind kind_;
  std::uint64_t failAt_;
  int error_;
  std::uint64_t reads_ = 0;
  std::uint64_t moves_ = 0;
};
