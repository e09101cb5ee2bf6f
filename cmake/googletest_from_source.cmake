# GoogleTest for a cross build: the distribution's libraries are built for the build machine,
# so the tests of the Windows programs compile GoogleTest's own sources (Debian's libgtest-dev
# ships them in /usr/src/googletest) with the cross compiler.
set(OSA_GOOGLETEST_SOURCE_DIR /usr/src/googletest
    CACHE PATH "GoogleTest sources built with the cross compiler")
if(NOT EXISTS ${OSA_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources in ${OSA_GOOGLETEST_SOURCE_DIR} (libgtest-dev)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
# It defines the GTest:: names that find_package(GTest) gives a native build.
add_subdirectory(${OSA_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
