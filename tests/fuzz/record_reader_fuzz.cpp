// libFuzzer target: arbitrary data and index file bytes of the program's
// fileblocks, read by the record listing and the integrity check (see
// tests/support/record_reader_fuzz_body.h).

#include "tests/support/record_reader_fuzz_body.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kontura::testing::RunRecordReaderFuzzInput(data, size);
  return 0;
}
