# bench_chart_paint: complete chart paints (line, bar, dense and zoomed lines,
# area, pie and fast line)
# into a QImage, each beside a bare QPainter polyline of the same points.
add_executable(bench_chart_paint ${CMAKE_CURRENT_LIST_DIR}/bench_chart_paint.cpp)
target_link_libraries(bench_chart_paint PRIVATE plot platform_qt_gui)
