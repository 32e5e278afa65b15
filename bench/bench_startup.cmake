# bench_startup: the window from `quorvel --simulate` to its first picture on
# a virtual display, and `quorvel-cli open FILE export --png` end to end.
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(XCB IMPORTED_TARGET xcb)
endif()
if(TARGET PkgConfig::XCB)
  add_executable(bench_startup ${CMAKE_CURRENT_LIST_DIR}/bench_startup.cpp)
  target_link_libraries(bench_startup PRIVATE PkgConfig::XCB)
  # It starts the programs it times.
  add_dependencies(bench_startup quorvel quorvel-cli quorvel-recorder-sim)
else()
  message(STATUS "bench_startup left out: libxcb (Debian libxcb1-dev) not found")
endif()
