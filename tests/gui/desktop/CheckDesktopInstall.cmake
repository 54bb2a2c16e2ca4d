# cmake -DBUILD_DIR=... -DPREFIX=... -DANALYSER=... -P CheckDesktopInstall.cmake

# The built program finds its readme beside itself.
get_filename_component(program_dir "${ANALYSER}" DIRECTORY)
if(NOT EXISTS "${program_dir}/Velmar Replay Analyzer.txt")
  message(FATAL_ERROR "no readme beside ${ANALYSER}")
endif()

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}" --component desktop
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed: ${rc}")
endif()

set(share "${PREFIX}/share")
foreach(f applications/velmar-replay-analyzer.desktop mime/packages/velmar-replay.xml
          icons/hicolor/scalable/apps/velmar-replay-analyzer.svg
          icons/hicolor/scalable/mimetypes/application-x-velmar-replay.svg
          "doc/velmar-replay-analyzer/Velmar Replay Analyzer.txt")
  if(NOT EXISTS "${share}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

# The menu entry starts the program with the opened file and claims the type.
file(STRINGS "${share}/applications/velmar-replay-analyzer.desktop" entry)
foreach(line "Exec=velmar-replay-analyzer %f" "MimeType=application/x-velmar-replay;"
             "Icon=velmar-replay-analyzer" "Type=Application")
  list(FIND entry "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "desktop entry lacks: ${line}")
  endif()
endforeach()

# The type's name as the user sees it.
file(READ "${share}/mime/packages/velmar-replay.xml" xml)
if(NOT xml MATCHES "<comment>Velmar replay</comment>")
  message(FATAL_ERROR "the type is not called \"Velmar replay\"")
endif()

# Where the caches were rebuilt, *.rpy maps to the type.
find_program(UPDATE_MIME update-mime-database)
if(UPDATE_MIME)
  file(STRINGS "${share}/mime/globs2" globs)
  list(FILTER globs INCLUDE REGEX "application/x-velmar-replay:\\*\\.rpy")
  if(NOT globs)
    message(FATAL_ERROR "*.rpy is not in the rebuilt type globs")
  endif()
endif()
message(STATUS "desktop files installed and registered under ${PREFIX}")
