# Third-party code comes from Debian's packages, never from this repository:
# header-only nlohmann json from /usr/include, and for the Windows build the
# Debian sources of pugixml and zlib (unpacked by scripts/setup.sh) and
# googletest (/usr/src/googletest), compiled here for the target.

# nlohmann json: point at its own folder only; -I/usr/include would pull glibc
# headers into the cross build.
set(MIREL_JSON_INCLUDE ${CMAKE_BINARY_DIR}/third_party/include)
file(MAKE_DIRECTORY ${MIREL_JSON_INCLUDE})
if(NOT EXISTS ${MIREL_JSON_INCLUDE}/nlohmann)
  file(CREATE_LINK /usr/include/nlohmann ${MIREL_JSON_INCLUDE}/nlohmann SYMBOLIC)
endif()
add_library(nlohmann_json_headers INTERFACE)
target_include_directories(nlohmann_json_headers SYSTEM INTERFACE ${MIREL_JSON_INCLUDE})

function(mirel_find_source out pattern)
  file(GLOB found LIST_DIRECTORIES true "${MIREL_DEPS_DIR}/${pattern}")
  list(SORT found)
  list(LENGTH found n)
  if(n EQUAL 0)
    message(FATAL_ERROR "${pattern} not found in ${MIREL_DEPS_DIR}: run scripts/setup.sh first")
  endif()
  list(GET found -1 dir)
  set(${out} ${dir} PARENT_SCOPE)
endfunction()

if(WIN32)
  mirel_find_source(PUGIXML_DIR "pugixml-*")
  add_library(pugixml STATIC ${PUGIXML_DIR}/src/pugixml.cpp)
  target_include_directories(pugixml SYSTEM PUBLIC ${PUGIXML_DIR}/src)

  mirel_find_source(ZLIB_DIR "zlib-*")
  set(ZLIB_SOURCES adler32.c compress.c crc32.c deflate.c gzclose.c gzlib.c gzread.c
      gzwrite.c infback.c inffast.c inflate.c inftrees.c trees.c uncompr.c zutil.c)
  list(TRANSFORM ZLIB_SOURCES PREPEND ${ZLIB_DIR}/)
  add_library(zlib STATIC ${ZLIB_SOURCES}
      ${ZLIB_DIR}/contrib/minizip/unzip.c ${ZLIB_DIR}/contrib/minizip/ioapi.c)
  target_include_directories(zlib SYSTEM PUBLIC ${ZLIB_DIR} ${ZLIB_DIR}/contrib/minizip)
  target_compile_definitions(zlib PRIVATE NOCRYPT NOUNCRYPT)
  target_compile_options(zlib PRIVATE -w)

  if(MIREL_BUILD_TESTS)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
else()
  find_package(PkgConfig QUIET)
  find_package(GTest QUIET)
  find_path(PUGIXML_INCLUDE pugixml.hpp)
endif()
