# Optional fuzz targets (clang only), not part of the test suite:
#   CC=clang CXX=clang++ cmake -S . -B build/fuzz -DKONTURA_FUZZ=ON -DKONTURA_GUI=OFF
#   cmake --build build/fuzz --target storage_fuzz
#   mkdir -p build/fuzz/corpus && cp tests/fuzz/regressions/* build/fuzz/corpus/
#   build/fuzz/storage_fuzz build/fuzz/corpus -max_len=50000 -max_total_time=600
# The second target, record_reader_fuzz, feeds the record listing and the
# integrity check of kontura-tool (dump, check) the same way; its kept inputs
# lie in tests/fuzz/regressions/records/.
# Inputs that once crashed (and a few valid files as seeds) are kept in
# tests/fuzz/regressions/ and replayed by core_tests.
option(KONTURA_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
if(KONTURA_FUZZ)
  # The whole toolkit-free core, compiled with the fuzzer's instrumentation:
  # the storage code refers to the record layouts of the other subsystems.
  add_executable(storage_fuzz ${CMAKE_SOURCE_DIR}/tests/fuzz/storage_fuzz.cpp ${CORE_SOURCES})
  target_include_directories(storage_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(storage_fuzz PRIVATE -fsanitize=fuzzer,address,undefined -g -O1)
  target_link_options(storage_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(storage_fuzz PRIVATE PkgConfig::HAMLIB)
  add_executable(record_reader_fuzz ${CMAKE_SOURCE_DIR}/tests/fuzz/record_reader_fuzz.cpp ${CORE_SOURCES})
  target_include_directories(record_reader_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(record_reader_fuzz PRIVATE -fsanitize=fuzzer,address,undefined -g -O1)
  target_link_options(record_reader_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(record_reader_fuzz PRIVATE PkgConfig::HAMLIB)
endif()
