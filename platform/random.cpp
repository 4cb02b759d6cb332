#include "platform/random.h"

#include <cstdint>

namespace platform {

double UnitGenerator::operator()() {
  const std::uint64_t bits = engine_() >> 11;
  return static_cast<double>(bits) * 0x1p-53;
}

double RandomUnit() {
  static UnitGenerator generator;  // deliberately never reseeded
  return generator();
}

long double RandomRange(double low, double high, const UnitSource& unit) {
  const long double u = unit();
  if (high > low) {
    return static_cast<long double>(low) + u * (static_cast<long double>(high) - low);
  }
  return static_cast<long double>(high) + u * (static_cast<long double>(low) - high);
}

long double RandomRange(double low, double high) { return RandomRange(low, high, RandomUnit); }

}  // namespace platform
