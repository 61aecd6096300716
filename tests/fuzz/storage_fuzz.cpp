// libFuzzer target: arbitrary data and index file bytes opened and walked by
// the engine (see tests/support/storage_fuzz_body.h).

#include "tests/support/storage_fuzz_body.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kontura::testing::RunStorageFuzzInput(data, size);
  return 0;
}
