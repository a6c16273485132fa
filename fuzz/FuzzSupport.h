#pragma once
// Shared by the fuzz targets: texts built from fuzz input, and the check that
// stops a run (libFuzzer then saves the input) when a property fails.

#include <QString>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Stops with the property's description when it does not hold.
inline void Require(bool holds, const char *property)
{
    if (holds)
        return;
    std::fprintf(stderr, "property failed: %s\n", property);
    std::abort();
}

// A text from the input: UTF-8, raw UTF-16 (lone surrogates included) or
// Latin-1, as the first byte chooses; at most `maxBytes` bytes of input.
inline QString ConsumeText(FuzzedDataProvider &in, std::size_t maxBytes)
{
    const std::uint8_t encoding = in.ConsumeIntegralInRange<std::uint8_t>(0, 2);
    const std::string bytes = in.ConsumeRandomLengthString(maxBytes);
    switch (encoding) {
    case 0:
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    case 1: {
        std::vector<char16_t> units(bytes.size() / 2);
        for (std::size_t i = 0; i < units.size(); ++i)
            units[i] = static_cast<char16_t>(static_cast<std::uint8_t>(bytes[2 * i])
                                             | static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8);
        return QString(reinterpret_cast<const QChar *>(units.data()), static_cast<qsizetype>(units.size()));
    }
    default:
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
}
