# Checks the desktop files: appstreamcli and desktop-file-validate (each when installed)
# accept them, and installing the "desktop" component puts every file in its place.
# Arguments: SOURCE (this folder), BUILD (the build tree), PREFIX (a scratch folder),
# SIZES (the icon sizes).

function(run_validator)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${result}):\n${out}")
  endif()
  message(STATUS "${ARGV0}: accepted")
endfunction()

find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
  run_validator(${APPSTREAMCLI} validate --no-net ${SOURCE}/org.lumora.Lumora.metainfo.xml)
else()
  message(STATUS "appstreamcli is not installed: metainfo not validated")
endif()
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
  run_validator(${DESKTOP_FILE_VALIDATE} ${SOURCE}/lumora.desktop)
else()
  message(STATUS "desktop-file-validate is not installed: desktop entry not validated")
endif()

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX} --component desktop
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${result}):\n${out}")
endif()
set(expected
  share/applications/lumora.desktop
  share/metainfo/org.lumora.Lumora.metainfo.xml
  share/icons/hicolor/scalable/apps/lumora.svg)
foreach(size IN LISTS SIZES)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/lumora.png)
endforeach()
foreach(file IN LISTS expected)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
