# Logging benchmark (a program, not a test): opening and closing a 10,000-QSO
# log and saving QSOs through the entry. Run it in a Release build:
#   cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DKONTURA_SANITIZE=OFF -DKONTURA_GUI=OFF
#   cmake --build build/bench --target logging_bench && build/bench/logging_bench
add_executable(logging_bench EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/logging_bench.cpp)
target_link_libraries(logging_bench PRIVATE kontura_core)
