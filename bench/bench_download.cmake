# bench_download: a full download from the simulator process at 9600 baud.
add_executable(bench_download ${CMAKE_CURRENT_LIST_DIR}/bench_download.cpp)
target_link_libraries(bench_download PRIVATE logger platform_posix)
# It starts the simulator from beside itself.
add_dependencies(bench_download quorvel-recorder-sim)
