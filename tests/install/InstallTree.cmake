# See CMakeLists.txt beside this file.
file(REMOVE_RECURSE ${SCRATCH})
set(root ${SCRATCH}/root)
set(ENV{DESTDIR} ${root})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
  RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

# Exactly these files, nothing more (no test programs, no build leftovers).
set(expected
  usr/${BINDIR}/reefbook
  usr/${BINDIR}/reefbook-cli
  usr/${DATADIR}/applications/reefbook.desktop
  usr/${DATADIR}/doc/reefbook/changelog.gz
  usr/${DATADIR}/doc/reefbook/copyright
  usr/${DATADIR}/icons/hicolor/128x128/apps/reefbook.png
  usr/${DATADIR}/icons/hicolor/256x256/apps/reefbook.png
  usr/${DATADIR}/icons/hicolor/48x48/apps/reefbook.png
  usr/${DATADIR}/icons/hicolor/scalable/apps/reefbook.svg
  usr/${DATADIR}/metainfo/org.example.reefbook.metainfo.xml
  usr/${DATADIR}/reefbook/RB.HLP
  usr/${MANDIR}/man1/reefbook-cli.1.gz
  usr/${MANDIR}/man1/reefbook.1.gz)
list(SORT expected)
file(GLOB_RECURSE found RELATIVE ${root} ${root}/*)
list(SORT found)
if(NOT found STREQUAL expected)
  string(REPLACE ";" "\n  " found "${found}")
  message(FATAL_ERROR "installed tree differs; found:\n  ${found}")
endif()

# Each icon is as large as the folder it sits in says (PNG width and height at byte 16).
foreach(size_hex 48:00000030 128:00000080 256:00000100)
  string(REPLACE ":" ";" size_hex ${size_hex})
  list(GET size_hex 0 size)
  list(GET size_hex 1 hex)
  file(READ ${root}/usr/${DATADIR}/icons/hicolor/${size}x${size}/apps/reefbook.png header
    OFFSET 16 LIMIT 8 HEX)
  if(NOT header STREQUAL "${hex}${hex}")
    message(FATAL_ERROR "the ${size} px icon is not ${size}x${size}: ${header}")
  endif()
endforeach()

# The launcher starts the installed program by name, and the man page has the --help text.
file(STRINGS ${root}/usr/${DATADIR}/applications/reefbook.desktop exec REGEX "^Exec=")
if(NOT exec STREQUAL "Exec=reefbook")
  message(FATAL_ERROR "desktop entry: ${exec}")
endif()

# The installed reefbook-cli, run from one folder with its files in another: the sample is
# named from where the command is typed, the logbook lands in --data-dir, nothing in the
# caller's folder. Settings and home are the scratch folder's, never the user's.
set(cli ${root}/usr/${BINDIR}/reefbook-cli)
set(caller ${SCRATCH}/caller)
file(MAKE_DIRECTORY ${caller} ${SCRATCH}/logbook)
file(COPY ${SAMPLE} DESTINATION ${caller})
set(ENV{HOME} ${SCRATCH})
set(ENV{XDG_CONFIG_HOME} ${SCRATCH}/config)
function(run expect_status out)
  execute_process(COMMAND ${cli} ${ARGN} WORKING_DIRECTORY ${caller}
    RESULT_VARIABLE status OUTPUT_VARIABLE text ERROR_VARIABLE text)
  if(NOT status STREQUAL expect_status)
    list(JOIN ARGN " " shown)
    message(FATAL_ERROR "reefbook-cli ${shown}: status ${status}, expected ${expect_status}\n${text}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

run(0 text --data-dir ../logbook load sample.json)
run(0 info --data-dir=${SCRATCH}/logbook info)
if(NOT info MATCHES "Total Dives: 2\n" OR NOT info MATCHES "Time to Date: 1:15\n")
  message(FATAL_ERROR "info on the sample:\n${info}")
endif()
file(GLOB written RELATIVE ${SCRATCH}/logbook ${SCRATCH}/logbook/*.dvl)
list(SORT written)
if(NOT written STREQUAL "bud1.dvl;gear1.dvl;loc1.dvl;log1.dvl;prof1.dvl;type1.dvl")
  message(FATAL_ERROR "files in --data-dir: ${written}")
endif()
file(GLOB stray ${caller}/*.dvl)
if(stray)
  message(FATAL_ERROR "files written in the caller's folder: ${stray}")
endif()

# A folder that does not exist is refused, and not made.
run(2 text --data-dir ${SCRATCH}/missing info)
if(EXISTS ${SCRATCH}/missing OR NOT text MATCHES "does not exist")
  message(FATAL_ERROR "missing --data-dir: ${text}")
endif()
