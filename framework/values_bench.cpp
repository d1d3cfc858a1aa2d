// Prints the throughput of the context allocator against malloc/free and of
// table set/get, for bench/values.sh.
#include "framework/core/context.h"
#include "framework/include/zif.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kLive = 64;  // blocks kept alive at once, like a work pass

uint32_t frozenClock(void *) { return 1000; }

// The cost of one read of the monotonic clock the allocator ages blocks by.
double clockReadNanoseconds()
{
    constexpr int kReads = 2000000;
    timespec ts;
    uint64_t sink = 0;
    auto start = Clock::now();
    for (int i = 0; i < kReads; ++i) {
        clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
        sink += static_cast<uint64_t>(ts.tv_nsec);
    }
    double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / kReads;
    return sink == 1 ? ns + 1 : ns;
}

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Sizes of the small records of graph execution: values, links, entries.
int sizeAt(int i) { return 16 + (i * 37) % 240; }

template <typename Alloc, typename Free>
double allocationsPerSecond(long rounds, Alloc alloc, Free release)
{
    std::vector<void *> live(kLive, nullptr);
    auto start = Clock::now();
    for (long i = 0; i < rounds; ++i) {
        int slot = static_cast<int>(i % kLive);
        release(live[slot]);
        live[slot] = alloc(sizeAt(static_cast<int>(i)));
        static_cast<volatile char *>(live[slot])[0] = 1;
    }
    double seconds = secondsSince(start);
    for (void *p : live)
        release(p);
    return static_cast<double>(rounds) / seconds;
}

}  // namespace

int main(int argc, char **argv)
{
    long rounds = argc > 1 ? std::atol(argv[1]) : 20000000;
    zif_context *context = nullptr;
    if (zif_create(&context) != 0) {
        std::fprintf(stderr, "zif_create failed\n");
        return 1;
    }

    double pooled = allocationsPerSecond(
        rounds, [&](int size) { return zif_alloc(context, size); }, [&](void *p) { zif_free(context, p); });
    double heap = allocationsPerSecond(
        rounds, [](int size) { return std::malloc(static_cast<size_t>(size)); }, [](void *p) { std::free(p); });
    std::printf("allocator: %.1f M alloc+free/s (context pool), %.1f M alloc+free/s (malloc/free), ratio %.2f\n",
                pooled / 1e6, heap / 1e6, pooled / heap);

    // The same pool with the clock frozen: the allocator's own cost, without
    // the two clock reads each alloc+free pair makes.
    zif::contextSetClock(context, frozenClock, nullptr);
    double frozen = allocationsPerSecond(
        rounds, [&](int size) { return zif_alloc(context, size); }, [&](void *p) { zif_free(context, p); });
    zif::contextSetClock(context, nullptr, nullptr);
    std::printf("allocator without clock reads: %.1f M alloc+free/s (ratio %.2f to malloc/free); one clock read costs %.1f ns here\n",
                frozen / 1e6, frozen / heap, clockReadNanoseconds());

    constexpr int kKeys = 32;
    std::vector<int32_t> keys;
    for (int k = 0; k < kKeys; ++k)
        keys.push_back(zif_nameToKey(context, ("key" + std::to_string(k)).c_str()));
    zif_object *table = zif_newTable(context);
    long tableRounds = rounds / 4;
    auto start = Clock::now();
    for (long i = 0; i < tableRounds; ++i)
        zif_tableSetIntK(table, keys[static_cast<size_t>(i % kKeys)], i);
    double sets = static_cast<double>(tableRounds) / secondsSince(start);
    int64_t sum = 0;
    start = Clock::now();
    for (long i = 0; i < tableRounds; ++i)
        sum += zif_tableGetIntK(table, keys[static_cast<size_t>(i % kKeys)], 0);
    double gets = static_cast<double>(tableRounds) / secondsSince(start);
    std::printf("table: %.1f M setInt/s, %.1f M getInt/s (%d keys, checksum %lld)\n", sets / 1e6, gets / 1e6, kKeys,
                static_cast<long long>(sum % 1000));
    zif_release(table);
    zif_destroy(context);
    return 0;
}
