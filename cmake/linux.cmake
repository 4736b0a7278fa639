# The Linux program: the POSIX file layer, the Qt window, and its Debian package.
# The POSIX file layer, clock and special folders.
add_library(tarnwipe_posix STATIC
  src/platform/posix/posix_clock.cpp
  src/platform/posix/posix_file_system.cpp
  src/platform/posix/posix_free_space.cpp
  src/platform/posix/mount_table.cpp
  src/platform/posix/posix_special_folders.cpp)
target_link_libraries(tarnwipe_posix PUBLIC tarnwipe_logic)

# The Qt window, dialogs, locale and the one window per session.
find_package(Qt6 REQUIRED COMPONENTS Widgets Network)
add_library(tarnwipe_qt STATIC
  src/platform/qt/erase_window.cpp
  src/platform/qt/qt_dialogs.cpp
  src/platform/qt/qt_separators.cpp
  src/platform/qt/qt_single_window.cpp)
target_link_libraries(tarnwipe_qt PUBLIC tarnwipe_logic Qt6::Widgets Qt6::Network)

add_executable(tarnwipe src/app/main.cpp)
target_link_libraries(tarnwipe PRIVATE tarnwipe_qt tarnwipe_posix)

# Installed as a desktop program: the binary, its menu entry, the file managers' menu entries,
# icon, AppStream data and licence.
include(GNUInstallDirs)
install(TARGETS tarnwipe RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/org.tarnwipe.tarnwipe.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# "Erase with Tarnwipe" in the file managers' menus: Dolphin's service menu and Nemo's action;
# "Erase the Trash with Tarnwipe" in Dolphin's menu of the Trash (trash:/); "Erase free space of
# this disk with Tarnwipe" in both menus for a folder.
install(FILES data/org.tarnwipe.tarnwipe.erase.desktop data/org.tarnwipe.tarnwipe.trash.desktop
        data/org.tarnwipe.tarnwipe.freespace.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/kio/servicemenus)
install(FILES data/org.tarnwipe.tarnwipe.nemo_action data/org.tarnwipe.tarnwipe.freespace.nemo_action
        DESTINATION ${CMAKE_INSTALL_DATADIR}/nemo/actions)
install(FILES data/org.tarnwipe.tarnwipe.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES data/org.tarnwipe.tarnwipe.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tarnwipe)
# The manual page and the changelog, compressed as Debian wants them (no name or time inside).
foreach(file tarnwipe.1 changelog)
  add_custom_command(OUTPUT ${file}.gz COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/data/${file} > ${file}.gz
                     DEPENDS data/${file})
endforeach()
add_custom_target(compressed_docs ALL DEPENDS tarnwipe.1.gz changelog.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tarnwipe.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tarnwipe)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnwipe)
set(CPACK_PACKAGE_VENDOR "The Tarnwipe team")
set(CPACK_PACKAGE_CONTACT "The Tarnwipe team <team@tarnwipe.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "erases files and folders so that their contents cannot be brought back")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tarnwipe is a small desktop program. It overwrites every chosen file several
times over its whole length, flushes each pass to the disk, deletes the file
and removes the folders that became empty. It refuses to erase in the system
folders, never follows a link out of the chosen folder, and says so when the
file system keeps old copies that overwriting cannot reach.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
