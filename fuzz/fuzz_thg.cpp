// libFuzzer entry point of the thing file reader; see FuzzCatalogBody.h and README.md.
#include "FuzzCatalogBody.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString failure = fuzzcat::FuzzThgInput(data, size);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "thing file reader: %s\n", failure.toLocal8Bit().constData());
        std::abort();
    }
    return 0;
}
