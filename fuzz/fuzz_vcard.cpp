// The vCard importer on any bytes.
#include "fuzz/ImportFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ImportOne("contacts.vcf", data, size);
    return 0;
}
