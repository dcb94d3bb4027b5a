# The release: what users download. Three self-contained archives, each a
# build of its own of these sources (statically linked for Linux x86-64 and
# for Linux aarch64, and for 64-bit Windows), the Debian package of this
# build, the source archive and SHA256SUMS.
#
# `cmake --build BUILD --target release` writes them into
# PAGESTOW_RELEASE_DIR; tools/release.sh does that from a fresh build folder.
# The tests build the archives too where the compilers are here, and run the
# executables taken out of them (tests/golden_test.cpp).

include(ExternalProject)

set(PAGESTOW_RELEASE_DIR ${PROJECT_BINARY_DIR}/release CACHE PATH "Where the release target writes the artifacts")

set(release_archives "")
set(release_blockers "")

# Builds the archive for `platform` with `compiler` (and the toolchain file
# given after it, if any), then unpacks it again. Sets
# archive_executable_<platform> to the executable as it comes out of the
# archive, or to "" where `compiler` is missing; the Debian package that
# brings it is `package`.
function(add_release_archive platform compiler package)
  set(archive_executable_${platform} "" PARENT_SCOPE)
  find_program(compiler_${platform} ${compiler})
  if(NOT compiler_${platform})
    message(STATUS "The ${platform} release archive is not built: ${compiler} not found (apt-get install ${package})")
    set(release_blockers "${release_blockers} ${package}" PARENT_SCOPE)
    return()
  endif()
  set(toolchain "")
  if(ARGN)
    set(toolchain -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/${ARGN})
  endif()
  set(name pagestow-${PROJECT_VERSION}-${platform})
  set(suffix "")
  set(archive ${name}.tar.gz)
  if(platform STREQUAL "win64")
    set(suffix .exe)
    set(archive ${name}.zip)
  endif()
  set(folder ${PROJECT_BINARY_DIR}/archives/${platform})
  ExternalProject_Add(archive_${platform}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${folder}
    CMAKE_ARGS ${toolchain} -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DPAGESTOW_ARCHIVE=ON
               -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
    BUILD_ALWAYS ON
    # Installed means packed, and unpacked again for the tests.
    INSTALL_COMMAND ${CMAKE_CPACK_COMMAND} --config CPackConfig.cmake
    COMMAND ${CMAKE_COMMAND} -E rm -rf unpacked
    COMMAND ${CMAKE_COMMAND} -E make_directory unpacked
    COMMAND ${CMAKE_COMMAND} -E chdir unpacked ${CMAKE_COMMAND} -E tar xf ../${archive}
    EXCLUDE_FROM_ALL ON)
  set(archive_executable_${platform} ${folder}/unpacked/${name}/pagestow${suffix} PARENT_SCOPE)
  set(release_archives ${release_archives} ${folder}/${archive} PARENT_SCOPE)
endfunction()

add_release_archive(linux-${CMAKE_HOST_SYSTEM_PROCESSOR} ${CMAKE_CXX_COMPILER} g++)
if(NOT CMAKE_HOST_SYSTEM_PROCESSOR STREQUAL "aarch64")
  add_release_archive(linux-aarch64 aarch64-linux-gnu-g++ g++-aarch64-linux-gnu aarch64-linux-gnu.cmake)
endif()
add_release_archive(win64 x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix mingw-w64-x86_64.cmake)

if(release_blockers)
  add_custom_target(release
    COMMAND ${CMAKE_COMMAND} -E echo "release: the cross compilers are missing: apt-get install${release_blockers}"
    COMMAND ${CMAKE_COMMAND} -E false)
else()
  # gzip was found for the Debian package's documentation (debian.cmake).
  find_program(GIT git REQUIRED)
  add_custom_target(release
    COMMAND ${CMAKE_COMMAND}
      -DOUT=${PAGESTOW_RELEASE_DIR} -DVERSION=${PROJECT_VERSION} -DSOURCE=${PROJECT_SOURCE_DIR}
      -DBINARY=${PROJECT_BINARY_DIR} "-DARCHIVES=${release_archives}" -DCPACK=${CMAKE_CPACK_COMMAND}
      -DGIT=${GIT} -DGZIP=${GZIP}
      -P ${PROJECT_SOURCE_DIR}/cmake/write_release.cmake
    VERBATIM)
  add_dependencies(release pagestow compressed_docs
    archive_linux-${CMAKE_HOST_SYSTEM_PROCESSOR} archive_linux-aarch64 archive_win64)
endif()
