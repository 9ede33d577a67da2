# What `cmake --install` adds for effect authors besides the program and the
# libraries: the CMake package (find_package(Trellic)), the pkg-config file,
# the example demo, the effect template and the guide. Every file is relative
# to the prefix, so an installed tree can be moved as a whole.
include(CMakePackageConfigHelpers)

set(TRELLIC_CMAKE_DIR lib/cmake/Trellic)
install(EXPORT TrellicTargets NAMESPACE Trellic:: DESTINATION ${TRELLIC_CMAKE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/TrellicConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/cmake/TrellicConfig.cmake
                              INSTALL_DESTINATION ${TRELLIC_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/cmake/TrellicConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/cmake/TrellicConfig.cmake ${CMAKE_BINARY_DIR}/cmake/TrellicConfigVersion.cmake
        DESTINATION ${TRELLIC_CMAKE_DIR})

configure_file(${CMAKE_CURRENT_LIST_DIR}/trellic-effects.pc.in ${CMAKE_BINARY_DIR}/cmake/trellic-effects.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/cmake/trellic-effects.pc DESTINATION lib/pkgconfig)

# The example demo with its lists and data, and the font its texts and the
# editor use, from the Debian package fonts-freefont-ttf (the source tree keeps
# none), so that a copy of the installed example plays as it is.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION share/trellic/examples
        PATTERN effect-template EXCLUDE
        PATTERN FreeSerif.ttf EXCLUDE)
install(FILES /usr/share/fonts/truetype/freefont/FreeSerif.ttf DESTINATION share/trellic/examples OPTIONAL)
# The template as written, without what building or running it in place adds.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/effect-template/ DESTINATION share/trellic/effect-template
        PATTERN build* EXCLUDE
        PATTERN *.so EXCLUDE
        PATTERN FreeSerif.ttf EXCLUDE
        PATTERN Trellic.cnfg EXCLUDE)
install(FILES ${CMAKE_SOURCE_DIR}/docs/writing-effects.md DESTINATION share/doc/trellic)
