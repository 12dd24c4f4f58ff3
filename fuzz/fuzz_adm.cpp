// libFuzzer entry point of the district file reader; see FuzzCatalogBody.h and README.md.
#include "FuzzCatalogBody.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString failure = fuzzcat::FuzzAdmInput(data, size);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "district file reader: %s\n", failure.toLocal8Bit().constData());
        std::abort();
    }
    return 0;
}
