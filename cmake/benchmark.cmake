# The benchmark's own programs, built only on demand by tools/benchmark.sh, never by the
# ordinary build or test run.
set(KELVARO_BENCHMARK_DIR ${CMAKE_SOURCE_DIR}/tests/benchmark)
if(WIN32)
  add_executable(kelvaro_floor WIN32 EXCLUDE_FROM_ALL ${KELVARO_BENCHMARK_DIR}/floor_win.cpp)
  target_link_libraries(kelvaro_floor PRIVATE shell32 user32)
  add_executable(kelvaro_history_dialog_benchmark EXCLUDE_FROM_ALL
    ${KELVARO_BENCHMARK_DIR}/history_dialog_benchmark_win.cpp ${KELVARO_RESOURCE_SCRIPT})
  target_link_libraries(kelvaro_history_dialog_benchmark PRIVATE kelvaro_shell)
  add_executable(kelvaro_popup_benchmark EXCLUDE_FROM_ALL ${KELVARO_BENCHMARK_DIR}/popup_benchmark_win.cpp)
  target_link_libraries(kelvaro_popup_benchmark PRIVATE kelvaro_shell)
  if(MINGW)
    target_link_options(kelvaro_floor PRIVATE -municode)
  endif()
else()
  foreach(benchmark tick history)
    add_executable(kelvaro_${benchmark}_benchmark EXCLUDE_FROM_ALL ${KELVARO_BENCHMARK_DIR}/${benchmark}_benchmark.cpp)
    target_link_libraries(kelvaro_${benchmark}_benchmark PRIVATE kelvaro_core)
  endforeach()
  # The fuzz targets' in-memory time files, read as the program reads them.
  target_include_directories(kelvaro_history_benchmark PRIVATE ${CMAKE_SOURCE_DIR}/tests/fuzz)
endif()
