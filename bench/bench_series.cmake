# bench_series: adding 1,000,000 points in order, the first statistics read
# after that, and finding the visible points of a 1/100 window.
add_executable(bench_series ${CMAKE_CURRENT_LIST_DIR}/bench_series.cpp)
target_link_libraries(bench_series PRIVATE plot)
