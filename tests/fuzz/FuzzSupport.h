#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace glimra::fuzz {

/// The fuzzer's bytes decoded as UTF-8, the way the program decodes files and output.
inline QString text(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

/// Ends the run with a report when a property that every input must keep is broken, so the
/// fuzzer stores the input as a crash.
inline void check(bool holds, const char *property)
{
    if (holds)
        return;
    std::fprintf(stderr, "broken: %s\n", property);
    std::abort();
}

} // namespace glimra::fuzz
