#include "decoder/WideVectors.h"

#include <atomic>

namespace sonarel {
namespace {

bool ProcessorHasAvx2()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

std::atomic<bool> preferWide{true};

}  // namespace

bool WideVectors()
{
    static const bool available = ProcessorHasAvx2();
    return available && preferWide.load(std::memory_order_relaxed);
}

void PreferWideVectors(bool prefer)
{
    preferWide.store(prefer);
}

}  // namespace sonarel
