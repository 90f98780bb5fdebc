# Installs the program component into a fresh folder, as tools/run.sh does,
# and checks that the one program folder holds everything the timer needs and
# that the desktop entry points at it. Run by ctest (e2e.install):
#   cmake -DBUILD=<build dir> -DOUT=<scratch dir> -P check_install.cmake
file(REMOVE_RECURSE "${OUT}")
set(prefix "${OUT}/Kesto Timer") # a space, as in a user's own folder names
set(ENV{KESTO_APPLICATIONS_DIR} "${OUT}/applications")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --component program
                        --prefix "${prefix}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the install failed:\n${output}")
endif()

set(missing)
foreach(file KestoTimer libresize.so.2 kesto_sdl_audio.so decoder-sim Kestotimer.HLP kestotimer.png
             kestotimer.desktop GreenFlagblack.bmp whiteflagblack.bmp CheckeredFlagblack.bmp
             KestoLogo.png handred.ico racer.ico LmSound/LMSounds.dat LmSound/everylap.wav)
  if(NOT EXISTS "${prefix}/${file}")
    list(APPEND missing "${file}")
  endif()
endforeach()
foreach(file kesto_browser.so kesto-browser)
  if(EXISTS "${BUILD}/bin/${file}" AND NOT EXISTS "${prefix}/${file}")
    list(APPEND missing ${file})
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "not installed: ${missing}")
endif()

foreach(entry "${prefix}/kestotimer.desktop" "${OUT}/applications/kestotimer.desktop")
  if(NOT EXISTS "${entry}")
    message(FATAL_ERROR "no desktop entry ${entry}")
  endif()
  file(STRINGS "${entry}" lines)
  foreach(expected "Exec=\"${prefix}/KestoTimer\"" "Path=${prefix}"
                   "Icon=${prefix}/kestotimer.png" "Name=Kesto Timer")
    list(FIND lines "${expected}" found)
    if(found EQUAL -1)
      message(FATAL_ERROR "${entry} has no line ${expected}:\n${lines}")
    endif()
  endforeach()
endforeach()

# The installed programs run from there (libraries found beside them).
execute_process(COMMAND "${prefix}/decoder-sim" --help RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the installed decoder-sim does not run")
endif()
execute_process(COMMAND ldd "${prefix}/KestoTimer" OUTPUT_VARIABLE libraries)
if(libraries MATCHES "not found")
  message(FATAL_ERROR "the installed KestoTimer misses libraries:\n${libraries}")
endif()
message(STATUS "installed and checked: ${prefix}")
