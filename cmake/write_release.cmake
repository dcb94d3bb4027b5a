# Writes the release into OUT: the archives already built, the Debian package
# of the build in BINARY, the source archive of the commit checked out in
# SOURCE, and SHA256SUMS over all of them. Run by the release target with
# -DOUT=... -DVERSION=... -DSOURCE=... -DBINARY=... -DARCHIVES=... -DCPACK=...
# -DGIT=... -DGZIP=...

# The source archive is the commit, the executables are the work tree: they
# must be the same.
execute_process(
  COMMAND "${GIT}" -C "${SOURCE}" status --porcelain --untracked-files=no
  RESULT_VARIABLE status_read
  OUTPUT_VARIABLE changes)
if(NOT status_read EQUAL 0)
  message(FATAL_ERROR "release: ${SOURCE} is not a git checkout; the source archive is made from one")
endif()
if(NOT changes STREQUAL "")
  message(FATAL_ERROR "release: commit these changes first; the source archive is made from the commit:\n${changes}")
endif()

file(MAKE_DIRECTORY "${OUT}")
set(artifacts "")
foreach(archive IN LISTS ARCHIVES)
  file(COPY "${archive}" DESTINATION "${OUT}")
  get_filename_component(name "${archive}" NAME)
  list(APPEND artifacts "${name}")
endforeach()

file(REMOVE_RECURSE "${BINARY}/deb")
execute_process(
  COMMAND "${CPACK}" -G DEB --config "${BINARY}/CPackConfig.cmake" -B "${BINARY}/deb"
  RESULT_VARIABLE packed
  OUTPUT_VARIABLE packer_output
  ERROR_VARIABLE packer_output)
file(GLOB debian_package "${BINARY}/deb/*.deb")
list(LENGTH debian_package count)
if(NOT packed EQUAL 0 OR NOT count EQUAL 1)
  message(FATAL_ERROR "release: cpack made no Debian package:\n${packer_output}")
endif()
file(COPY "${debian_package}" DESTINATION "${OUT}")
get_filename_component(name "${debian_package}" NAME)
list(APPEND artifacts "${name}")

# git writes the same tar for the same commit; gzip -n leaves out the time.
set(source_archive "pagestow-${VERSION}.tar.gz")
execute_process(
  COMMAND "${GIT}" -C "${SOURCE}" archive --format=tar "--prefix=pagestow-${VERSION}/" HEAD
  COMMAND "${GZIP}" -9n
  OUTPUT_FILE "${OUT}/${source_archive}"
  RESULTS_VARIABLE archived)
if(NOT archived STREQUAL "0;0")
  message(FATAL_ERROR "release: git archive | gzip failed (${archived})")
endif()
list(APPEND artifacts "${source_archive}")

list(SORT artifacts)
set(sums "")
foreach(name IN LISTS artifacts)
  file(SHA256 "${OUT}/${name}" sum)
  string(APPEND sums "${sum}  ${name}\n")
endforeach()
file(WRITE "${OUT}/SHA256SUMS" "${sums}")
message(STATUS "release: written to ${OUT}:\n${sums}")
