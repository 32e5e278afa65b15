# What `cmake --install` puts where. Two components, packaged apart:
#   app      the three programs with their desktop entry, icons, metainfo,
#            manual pages and completion (data/ adds those)
#   plot_dev the chart component as a library: headers under
#            include/quorvel/, the static libraries and the QuorvelPlot
#            CMake package
include(CMakePackageConfigHelpers)

install(TARGETS quorvel quorvel-cli quorvel-recorder-sim
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT app)

# The libraries keep their target names in the build; installed they carry
# the project's prefix so they never clash in a shared lib folder.
set(quorvel_plot_libraries runtime platform plot platform_qt_gui platform_qt_widgets)
set_target_properties(runtime PROPERTIES OUTPUT_NAME quorvel_runtime)
set_target_properties(platform PROPERTIES OUTPUT_NAME quorvel_platform)
set_target_properties(plot PROPERTIES OUTPUT_NAME quorvel_plot)
set_target_properties(platform_qt_gui PROPERTIES OUTPUT_NAME quorvel_qt_gui EXPORT_NAME qt_gui)
set_target_properties(platform_qt_widgets PROPERTIES OUTPUT_NAME quorvel_qt_widgets EXPORT_NAME qt_widgets)
install(TARGETS ${quorvel_plot_libraries} EXPORT QuorvelPlotTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT plot_dev)

# Headers keep their folders, so the includes read as in the tree:
# "plot/chart/chart.h" under include/quorvel/.
set(quorvel_include_dir ${CMAKE_INSTALL_INCLUDEDIR}/quorvel)
install(DIRECTORY runtime/ DESTINATION ${quorvel_include_dir}/runtime
        COMPONENT plot_dev FILES_MATCHING PATTERN "*.h")
install(DIRECTORY plot/ DESTINATION ${quorvel_include_dir}/plot
        COMPONENT plot_dev FILES_MATCHING PATTERN "*.h")
# The interfaces and the two Qt implementations; the POSIX one stays inside.
install(DIRECTORY platform/ DESTINATION ${quorvel_include_dir}/platform
        COMPONENT plot_dev FILES_MATCHING PATTERN "*.h" PATTERN posix EXCLUDE)

set(quorvel_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/QuorvelPlot)
install(EXPORT QuorvelPlotTargets NAMESPACE QuorvelPlot:: DESTINATION ${quorvel_cmake_dir}
        COMPONENT plot_dev)
configure_package_config_file(cmake/QuorvelPlotConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/cmake/QuorvelPlotConfig.cmake
                              INSTALL_DESTINATION ${quorvel_cmake_dir})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/cmake/QuorvelPlotConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/cmake/QuorvelPlotConfig.cmake
              ${CMAKE_BINARY_DIR}/cmake/QuorvelPlotConfigVersion.cmake
        DESTINATION ${quorvel_cmake_dir} COMPONENT plot_dev)

# In the tree the same names as installed, so examples build either way.
add_library(QuorvelPlot::plot ALIAS plot)
add_library(QuorvelPlot::qt_gui ALIAS platform_qt_gui)
add_library(QuorvelPlot::qt_widgets ALIAS platform_qt_widgets)
