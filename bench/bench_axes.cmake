# bench_axes: a full paint of an empty chart with four visible axes at
# 1920 x 1080, and the label step of a 40-year date-time range.
add_executable(bench_axes ${CMAKE_CURRENT_LIST_DIR}/bench_axes.cpp)
target_link_libraries(bench_axes PRIVATE plot platform_qt_gui)
