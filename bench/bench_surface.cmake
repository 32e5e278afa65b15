# bench_surface: a repaint that only copies the back buffer at 1920 x 1080,
# and the projection of 10,000 points in a rotated 3D view.
add_executable(bench_surface ${CMAKE_CURRENT_LIST_DIR}/bench_surface.cpp)
target_link_libraries(bench_surface PRIVATE plot platform_qt_gui)
