# The engine as a C++ library for other programs (`cmake --install BUILD --component dev`): its
# public headers under include/quorvane/redline, the static library, a CMake package
# (find_package(Quorvane), target Quorvane::redline) and a pkg-config file (quorvane).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(_headers Changes.h Combine.h Compare.h Errors.h MarkedResult.h)
list(TRANSFORM _headers PREPEND "${CMAKE_CURRENT_SOURCE_DIR}/")
install(FILES ${_headers} DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/quorvane/redline"
        COMPONENT dev EXCLUDE_FROM_ALL)
install(TARGETS quorvane_redline EXPORT QuorvaneTargets
        ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT dev EXCLUDE_FROM_ALL)
set(_cmake_dir "${CMAKE_INSTALL_LIBDIR}/cmake/Quorvane")
install(EXPORT QuorvaneTargets NAMESPACE Quorvane:: DESTINATION "${_cmake_dir}"
        COMPONENT dev EXCLUDE_FROM_ALL)
configure_package_config_file("${CMAKE_CURRENT_SOURCE_DIR}/install/QuorvaneConfig.cmake.in"
                              "${CMAKE_CURRENT_BINARY_DIR}/QuorvaneConfig.cmake"
                              INSTALL_DESTINATION "${_cmake_dir}")
write_basic_package_version_file("${CMAKE_CURRENT_BINARY_DIR}/QuorvaneConfigVersion.cmake"
                                 COMPATIBILITY SameMinorVersion)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/QuorvaneConfig.cmake"
              "${CMAKE_CURRENT_BINARY_DIR}/QuorvaneConfigVersion.cmake"
        DESTINATION "${_cmake_dir}" COMPONENT dev EXCLUDE_FROM_ALL)
# The prefix is the one given at install time, not at configure time.
configure_file("${CMAKE_CURRENT_SOURCE_DIR}/install/quorvane.pc.in"
               "${CMAKE_CURRENT_BINARY_DIR}/quorvane.pc.in" @ONLY)
install(CODE "
    set(_pc_prefix \"\${CMAKE_INSTALL_PREFIX}\")
    file(READ \"${CMAKE_CURRENT_BINARY_DIR}/quorvane.pc.in\" _pc)
    string(REPLACE \"${CMAKE_INSTALL_PREFIX}\" \"\${_pc_prefix}\" _pc \"\${_pc}\")
    file(WRITE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig/quorvane.pc\" \"\${_pc}\")"
    COMPONENT dev EXCLUDE_FROM_ALL)
