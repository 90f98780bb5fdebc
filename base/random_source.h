#pragma once
// Uniform random numbers in [0, 1) for the demo cars and the start lights.

#include <cstdint>
#include <random>

namespace kesto {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual double Next() = 0;
    // Seeds afresh from the system timer (the race screen's reset does this).
    virtual void Reseed() = 0;
};

// The real generator.
class SystemRandom final : public RandomSource {
public:
    double Next() override;
    void Reseed() override;

private:
    std::mt19937 m_engine{std::random_device{}()};
};

} // namespace kesto
