# The sound folder "LmSound" beside the program: the wave files and the default
# sound choices from assets/LmSound, copied into the build's program folder at
# configure time and installed with the program. An LMSounds.dat already in
# place holds the user's choices and is never overwritten.

set(KESTO_SOUND_ASSETS ${CMAKE_SOURCE_DIR}/assets/LmSound)
file(GLOB kesto_sound_files CONFIGURE_DEPENDS ${KESTO_SOUND_ASSETS}/*)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${kesto_sound_files})

file(COPY ${KESTO_SOUND_ASSETS}/ DESTINATION ${CMAKE_BINARY_DIR}/bin/LmSound
     PATTERN LMSounds.dat EXCLUDE)
if(NOT EXISTS ${CMAKE_BINARY_DIR}/bin/LmSound/LMSounds.dat)
  file(COPY ${KESTO_SOUND_ASSETS}/LMSounds.dat DESTINATION ${CMAKE_BINARY_DIR}/bin/LmSound)
endif()

install(DIRECTORY ${KESTO_SOUND_ASSETS}/ DESTINATION LmSound COMPONENT program
        PATTERN LMSounds.dat EXCLUDE)
install(CODE "
  if(NOT EXISTS \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/LmSound/LMSounds.dat\")
    file(INSTALL \"${KESTO_SOUND_ASSETS}/LMSounds.dat\"
         DESTINATION \"\${CMAKE_INSTALL_PREFIX}/LmSound\")
  endif()" COMPONENT program)
