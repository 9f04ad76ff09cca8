#ifndef RANDOM_H
#define RANDOM_H

#include <cstdint>

// A small seeded generator (xorshift32): the same design always gives the same
// wallpaper, on every machine and with every Qt version.
class Random
{
public:
    explicit Random(uint32_t seed) : state(seed * 2654435761u + 0x9e3779b9u) { next(); }

    uint32_t next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }

    // Uniform in [0, 1).
    double real() { return (next() >> 8) * (1.0 / 16777216.0); }
    double range(double low, double high) { return low + (high - low) * real(); }

private:
    uint32_t state;
};

#endif
