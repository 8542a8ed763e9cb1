# cmake --install: the headers, the library with its version and soname, the
# zebscribe tool, the echo backend it replays against, and the package
# configuration behind find_package(ZebScribe).
include(CMakePackageConfigHelpers)
set(ZEB_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/ZebScribe)

install(TARGETS ZebScribe EXPORT ZebScribeTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  FILES_MATCHING PATTERN "*.h")
install(TARGETS zebscribe RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# zebscribe dump looks for the echo backend where this puts it.
if(TARGET ZebEcho)
  install(TARGETS ZebEcho
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
endif()

install(EXPORT ZebScribeTargets NAMESPACE ZebScribe:: DESTINATION ${ZEB_PACKAGE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/ZebScribeConfig.cmake.in
  ${PROJECT_BINARY_DIR}/ZebScribeConfig.cmake
  INSTALL_DESTINATION ${ZEB_PACKAGE_DIR}
  PATH_VARS CMAKE_INSTALL_BINDIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ZebScribeConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ZebScribeConfig.cmake
  ${PROJECT_BINARY_DIR}/ZebScribeConfigVersion.cmake DESTINATION ${ZEB_PACKAGE_DIR})
