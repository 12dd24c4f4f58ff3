// libFuzzer entry point of the gazetteer reader; see FuzzGazetteerBody.h and README.md.
#include "FuzzGazetteerBody.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString failure = fuzzgaz::FuzzGazetteerInput(data, size);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "gazetteer reader: %s\n", failure.toLocal8Bit().constData());
        std::abort();
    }
    return 0;
}
