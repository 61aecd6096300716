# Storage benchmark against SQLite (a program, not a test): built only when
# SQLite's development files are there. Run it in a Release build:
#   cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DKONTURA_SANITIZE=OFF -DKONTURA_GUI=OFF
#   cmake --build build/bench --target storage_bench && build/bench/storage_bench
find_package(SQLite3 QUIET)
if(SQLite3_FOUND)
  add_executable(storage_bench EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/storage_bench.cpp)
  target_link_libraries(storage_bench PRIVATE kontura_core SQLite::SQLite3)
endif()
