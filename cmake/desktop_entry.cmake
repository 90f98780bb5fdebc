# The desktop entry "Kesto Timer": the program in the desktop's application
# menu, with its icon, pointing at the installed program folder. It is written
# at install time, when the folder is known: into the program folder itself and
# into the user's applications folder ($XDG_DATA_HOME/applications, else
# ~/.local/share/applications; KESTO_APPLICATIONS_DIR in the environment of the
# install overrides it). A staged install (DESTDIR) leaves the user's folder
# alone. The icon, assets/kestotimer.png, is installed among the pictures.

install(CODE "
  set(KESTO_PROGRAM_FOLDER \"\${CMAKE_INSTALL_PREFIX}\")
  set(entry \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/kestotimer.desktop\")
  configure_file(\"${CMAKE_SOURCE_DIR}/cmake/kestotimer.desktop.in\" \"\${entry}\" @ONLY)
  message(STATUS \"Installing: \${entry}\")
  if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
    if(NOT \"\$ENV{KESTO_APPLICATIONS_DIR}\" STREQUAL \"\")
      set(applications \"\$ENV{KESTO_APPLICATIONS_DIR}\")
    elseif(NOT \"\$ENV{XDG_DATA_HOME}\" STREQUAL \"\")
      set(applications \"\$ENV{XDG_DATA_HOME}/applications\")
    else()
      set(applications \"\$ENV{HOME}/.local/share/applications\")
    endif()
    file(MAKE_DIRECTORY \"\${applications}\")
    file(COPY_FILE \"\${entry}\" \"\${applications}/kestotimer.desktop\")
    message(STATUS \"Installing: \${applications}/kestotimer.desktop\")
  endif()" COMPONENT program)
