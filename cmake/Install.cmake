# The install tree: `cmake --install BUILD [--prefix P]`, DESTDIR honoured.
# Every path comes from GNUInstallDirs, except the systemd user unit, which
# systemd looks for under lib/ of the prefix, never the multiarch folder.
include(GNUInstallDirs)

set(WELVANE_USER_UNIT_DIR lib/systemd/user)
set(_gen ${PROJECT_BINARY_DIR}/install-files)

install(TARGETS welvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Desktop entry and AppStream metadata, named by the AppStream ID.
set(_screenshots "")
foreach(_shot IN ITEMS "overview|The Overview, large screen"
                       "worktime|Battery work time, small screen")
  string(REPLACE "|" ";" _shot "${_shot}")
  list(GET _shot 0 _name)
  list(GET _shot 1 _caption)
  if(_screenshots STREQUAL "")
    set(_type " type=\"default\"")
  else()
    set(_type "")
  endif()
  string(APPEND _screenshots
         "    <screenshot${_type}>\n"
         "      <caption>${_caption}</caption>\n"
         "      <image>${WELVANE_HOMEPAGE}/screenshots/${_name}.png</image>\n"
         "    </screenshot>\n")
endforeach()
set(WELVANE_SCREENSHOTS "${_screenshots}")
configure_file(resources/desktop/welvane.desktop.in
               ${_gen}/${WELVANE_APPSTREAM_ID}.desktop @ONLY)
# The metainfo is made where the program run from the build tree finds it.
set(_metainfo ${PROJECT_BINARY_DIR}/share/metainfo/${WELVANE_APPSTREAM_ID}.metainfo.xml)
configure_file(resources/desktop/welvane.metainfo.xml.in ${_metainfo} @ONLY)
install(FILES ${_gen}/${WELVANE_APPSTREAM_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_metainfo}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The application icon: the hicolor sizes and the scalable drawing
# (tools/make_app_icon.cpp makes them).
foreach(_size IN ITEMS 16 22 24 32 48 64 128 256)
  install(FILES resources/icons/app/welvane-${_size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
          RENAME ${WELVANE_APPSTREAM_ID}.png)
endforeach()
install(FILES resources/icons/app/welvane.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${WELVANE_APPSTREAM_ID}.svg)

# The manual page, with the installed paths filled in, compressed as Debian
# ships them (-n: no time stamp, so the build is reproducible).
set(WELVANE_VERSION ${PROJECT_VERSION})
set(WELVANE_HELP_PAGE_FULL ${CMAKE_INSTALL_FULL_DATADIR}/welvane/help.html)
set(WELVANE_USER_UNIT_DIR_FULL ${CMAKE_INSTALL_PREFIX}/${WELVANE_USER_UNIT_DIR})
configure_file(docs/welvane.1 ${_gen}/welvane.1 @ONLY)
add_custom_command(OUTPUT ${_gen}/welvane.1.gz
                   COMMAND gzip -9n -c ${_gen}/welvane.1 > ${_gen}/welvane.1.gz
                   DEPENDS ${_gen}/welvane.1 VERBATIM)
add_custom_target(manpage ALL DEPENDS ${_gen}/welvane.1.gz)
install(FILES ${_gen}/welvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The offline help page of Documentation and FAQ.
install(FILES resources/help/help.html DESTINATION ${CMAKE_INSTALL_DATADIR}/welvane COMPONENT help)

install(FILES resources/completion/welvane.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME welvane)
