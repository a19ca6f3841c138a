#include "app/SystemServices.h"

#include <chrono>
#include <ctime>
#include <random>

namespace {

class SystemClock : public Clock {
  public:
    double secondsSinceMidnight() override {
        const auto now = std::chrono::system_clock::now();
        const std::time_t whole = std::chrono::system_clock::to_time_t(now);
        std::tm local{};
#ifdef _WIN32
        localtime_s(&local, &whole);
#else
        localtime_r(&whole, &local);
#endif
        const auto fraction =
            std::chrono::duration<double>(now - std::chrono::system_clock::from_time_t(whole));
        return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction.count();
    }
};

class MersenneRandom : public RandomSource {
  public:
    void seed(double seed) override {
        engine_.seed(static_cast<std::mt19937_64::result_type>(seed * 1000.0));
    }
    double next() override { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }

  private:
    std::mt19937_64 engine_;
};

}  // namespace

std::unique_ptr<Clock> MakeSystemClock() {
    return std::make_unique<SystemClock>();
}

std::unique_ptr<RandomSource> MakeSystemRandomSource() {
    return std::make_unique<MersenneRandom>();
}
