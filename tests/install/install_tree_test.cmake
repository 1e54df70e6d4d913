# Run by ctest (see CMakeLists.txt beside this file).
set(prefix "${WORK}/prefix with space")
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/home")

function(fail what)
  message(FATAL_ERROR "install_tree: ${what}")
endfunction()

execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  fail("cmake --install failed (${rc}):\n${out}")
endif()

# Exactly these files, no more and no fewer.
set(id io.github.tunara.tunara)
set(expected ${BINDIR}/tunara ${BINDIR}/tunara-cli ${BINDIR}/tunara-sim
    ${DATADIR}/applications/${id}.desktop ${DATADIR}/metainfo/${id}.metainfo.xml
    ${DATADIR}/doc/tunara/copyright
    ${DATADIR}/icons/hicolor/scalable/apps/${id}.svg)
foreach(size 16 24 32 48 64 128 256)
  list(APPEND expected ${DATADIR}/icons/hicolor/${size}x${size}/apps/${id}.png)
endforeach()
file(GLOB_RECURSE resources LIST_DIRECTORIES false RELATIVE "${RESOURCES}" "${RESOURCES}/*")
foreach(rel IN LISTS resources)
  list(APPEND expected ${DATADIR}/tunara/${rel})
endforeach()
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${prefix}" "${prefix}/*")
# The changelog and the manual pages are compressed where gzip is found.
list(FILTER installed EXCLUDE REGEX "^(${MANDIR}/man1/tunara(-cli|-sim)?\\.1|${DATADIR}/doc/tunara/changelog)(\\.gz)?$")
set(missing ${expected})
list(REMOVE_ITEM missing ${installed})
set(extra ${installed})
list(REMOVE_ITEM extra ${expected})
if(missing OR extra)
  fail("missing: ${missing}\nnot expected: ${extra}")
endif()
foreach(page tunara tunara-cli tunara-sim)
  file(GLOB man "${prefix}/${MANDIR}/man1/${page}.1*")
  if(NOT man)
    fail("no manual page for ${page}")
  endif()
endforeach()
file(GLOB changelog "${prefix}/${DATADIR}/doc/tunara/changelog*")
if(NOT changelog)
  fail("no changelog")
endif()

# The installed programs run from the prefix.
set(ENV{QT_QPA_PLATFORM} offscreen)
set(ENV{HOME} "${WORK}/home")
set(ENV{XDG_CONFIG_HOME} "${WORK}/home/config")
set(ENV{XDG_DATA_HOME} "${WORK}/home/data")
set(ENV{XDG_CACHE_HOME} "${WORK}/home/cache")
set(ENV{XDG_STATE_HOME} "${WORK}/home/state")
foreach(program tunara tunara-cli)
  execute_process(COMMAND "${prefix}/${BINDIR}/${program}" --version
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "${program} ${VERSION}")
    fail("${program} --version gave \"${out}\" (${rc})")
  endif()
endforeach()

# A missing companion file would stop the program in a modal message, and
# the time-out would end it: a picture means it found them all.
execute_process(COMMAND "${prefix}/${BINDIR}/tunara" --screenshot "${WORK}/installed.png"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out TIMEOUT 60)
if(NOT rc EQUAL 0 OR NOT EXISTS "${WORK}/installed.png" OR NOT EXISTS "${WORK}/installed-splash.png")
  fail("the installed program did not start and save its pictures (${rc}):\n${out}")
endif()
message(STATUS "installed into ${prefix}; pictures in ${WORK}")
