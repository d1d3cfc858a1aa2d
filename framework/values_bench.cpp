// Prints the throughput of the context allocator against malloc/free and of
// table set/get, for bench/values.sh.
#include "framework/include/zif.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kLive = 64;  // blocks kept alive at once, like a work pass

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
