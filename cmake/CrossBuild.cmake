# What a cross-build (see mingw-w64-x86_64.cmake) takes from the build machine.

# The tool that embeds the default profile runs during the build, so it is built for the build
# machine: the tools folder is configured as a project of its own with the native compiler.
include(ExternalProject)
set(QUOTINO_HOST_TOOLS ${CMAKE_BINARY_DIR}/host-tools)
ExternalProject_Add(host_tools
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools
  BINARY_DIR ${QUOTINO_HOST_TOOLS}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${QUOTINO_HOST_TOOLS}/embed_profile
  BUILD_ALWAYS ON)
set(QUOTINO_EMBED_PROFILE ${QUOTINO_HOST_TOOLS}/embed_profile)

# The core needs libcurl's headers only, as it loads the library at run time; they are the same
# for every platform. The build machine's copy is seen through a folder that holds nothing
# else, so that none of the build machine's system headers can shadow the target's.
find_path(QUOTINO_BUILD_MACHINE_CURL_HEADERS curl/curl.h
  PATHS /usr/include/${CMAKE_HOST_SYSTEM_PROCESSOR}-linux-gnu /usr/include
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(CURL_INCLUDE_DIRS ${CMAKE_BINARY_DIR}/curl-headers)
file(MAKE_DIRECTORY ${CURL_INCLUDE_DIRS})
file(CREATE_LINK ${QUOTINO_BUILD_MACHINE_CURL_HEADERS}/curl ${CURL_INCLUDE_DIRS}/curl SYMBOLIC)

# GoogleTest as installed is built for the build machine; its sources are built again.
set(QUOTINO_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources, built for the target")

# What Debian ships for Linux only, made for Windows from its source packages by
# scripts/build-curl-windows and scripts/fetch-httplib (scripts/test-windows runs both).
set(QUOTINO_CURL_DLL "" CACHE FILEPATH "libcurl-x64.dll to put beside the programs")
set(QUOTINO_HTTPLIB_INCLUDE_DIR "" CACHE PATH "Folder with the split httplib.h and httplib.cc, for the tests")
if(QUOTINO_BUILD_TESTS AND NOT (QUOTINO_CURL_DLL AND QUOTINO_HTTPLIB_INCLUDE_DIR))
  message(FATAL_ERROR "The tests download from a loopback server: pass QUOTINO_CURL_DLL and "
    "QUOTINO_HTTPLIB_INCLUDE_DIR, or let scripts/test-windows configure the build")
endif()
# libcurl is loaded at run time from the executable's folder.
if(QUOTINO_CURL_DLL)
  configure_file(${QUOTINO_CURL_DLL} ${CMAKE_BINARY_DIR}/tests/libcurl-x64.dll COPYONLY)
endif()
# The loopback server, under the name the native build's pkg-config gives it: compiled once, as
# Debian's library is, since the whole header costs every file that includes it seconds.
if(QUOTINO_HTTPLIB_INCLUDE_DIR)
  add_library(quotino_httplib STATIC EXCLUDE_FROM_ALL ${QUOTINO_HTTPLIB_INCLUDE_DIR}/httplib.cc)
  target_include_directories(quotino_httplib SYSTEM PUBLIC ${QUOTINO_HTTPLIB_INCLUDE_DIR})
  target_link_libraries(quotino_httplib PUBLIC ws2_32)
  add_library(PkgConfig::HTTPLIB ALIAS quotino_httplib)
else()
  add_library(PkgConfig::HTTPLIB INTERFACE IMPORTED)
endif()
