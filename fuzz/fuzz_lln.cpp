// libFuzzer entry point of the graticule side file reader; see FuzzLlnBody.h and README.md.
#include "FuzzLlnBody.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString failure = fuzzlln::FuzzLlnInput(data, size);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "side file reader: %s\n", failure.toLocal8Bit().constData());
        std::abort();
    }
    return 0;
}
