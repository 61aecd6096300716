# Optional fuzz targets (clang only): cmake -DKONTURA_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
# Not part of the test suite; inputs that once crashed are kept in
# tests/fuzz/regressions/ and replayed by core_tests.
option(KONTURA_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
if(KONTURA_FUZZ)
  file(GLOB FUZZ_CORE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/storage/*.cpp ${CMAKE_SOURCE_DIR}/platform/*.cpp)
  add_executable(storage_fuzz ${CMAKE_SOURCE_DIR}/tests/fuzz/storage_fuzz.cpp ${FUZZ_CORE_SOURCES})
  target_include_directories(storage_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(storage_fuzz PRIVATE -fsanitize=fuzzer,address,undefined -g -O1)
  target_link_options(storage_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
endif()
