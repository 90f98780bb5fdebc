#include "base/random_source.h"

#include <chrono>

namespace kesto {

double SystemRandom::Next() {
    return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine);
}

void SystemRandom::Reseed() {
    auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    m_engine.seed(static_cast<std::mt19937::result_type>(now));
}

} // namespace kesto
