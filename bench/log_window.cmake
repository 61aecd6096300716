# Logging window benchmark (a program, not a test): keys typed into the real
# window offscreen on a 10,000-QSO log. Needs the Qt build; run it in a
# Release build:
#   cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release
#   cmake --build build/release --target log_window_bench && build/release/log_window_bench
if(KONTURA_GUI)
  add_executable(log_window_bench EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/log_window_bench.cpp)
  target_link_libraries(log_window_bench PRIVATE kontura_gui Qt6::Test)
endif()
