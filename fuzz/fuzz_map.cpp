// libFuzzer entry point of the map reader; see FuzzMapBody.h and README.md.
#include "FuzzMapBody.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString failure = fuzzmap::FuzzMapInput(data, size);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "map reader: %s\n", failure.toLocal8Bit().constData());
        std::abort();
    }
    return 0;
}
