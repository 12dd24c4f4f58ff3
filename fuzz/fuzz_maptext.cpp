// libFuzzer entry point of the figure text file reader; see FuzzMapTextBody.h and README.md.
#include "FuzzMapTextBody.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString failure = fuzzmaptext::FuzzMapTextInput(data, size);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "figure text reader: %s\n", failure.toLocal8Bit().constData());
        std::abort();
    }
    return 0;
}
