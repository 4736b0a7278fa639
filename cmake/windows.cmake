# The Windows program: the Win32 file layer, window and dialogs, one static .exe.
add_library(tarnwipe_win32 STATIC
  src/platform/win32/erase_window.cpp
  src/platform/win32/wide_text.cpp
  src/platform/win32/win32_clock.cpp
  src/platform/win32/win32_dialogs.cpp
  src/platform/win32/win32_file_system.cpp
  src/platform/win32/win32_free_space.cpp
  src/platform/win32/win32_separators.cpp
  src/platform/win32/win32_single_window.cpp
  src/platform/win32/win32_special_folders.cpp)
target_compile_definitions(tarnwipe_win32 PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
target_link_libraries(tarnwipe_win32 PUBLIC tarnwipe_logic ntdll shell32 ole32 comdlg32 comctl32 uuid)

string(REPLACE "." "," TARNWIPE_VERSION_COMMAS ${PROJECT_VERSION})
configure_file(src/platform/win32/tarnwipe.manifest.in ${CMAKE_BINARY_DIR}/generated/tarnwipe.manifest @ONLY)
configure_file(src/platform/win32/tarnwipe.rc.in ${CMAKE_BINARY_DIR}/generated/tarnwipe.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/generated/tarnwipe.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/generated/tarnwipe.manifest;${PROJECT_SOURCE_DIR}/data/org.tarnwipe.tarnwipe.ico")
add_executable(tarnwipe WIN32 src/app/main_win32.cpp ${CMAKE_BINARY_DIR}/generated/tarnwipe.rc)
target_link_libraries(tarnwipe PRIVATE tarnwipe_win32)
target_link_options(tarnwipe PRIVATE -municode)

# The installer, built with wixl (msitools) where it is installed: build-win/tarnwipe-VERSION.msi.
find_program(WIXL wixl)
if(WIXL)
  configure_file(cmake/tarnwipe.wxs.in ${CMAKE_BINARY_DIR}/generated/tarnwipe.wxs @ONLY)
  configure_file(data/org.tarnwipe.tarnwipe.ico ${CMAKE_BINARY_DIR}/generated/org.tarnwipe.tarnwipe.ico COPYONLY)
  set(TARNWIPE_MSI ${CMAKE_BINARY_DIR}/tarnwipe-${PROJECT_VERSION}.msi)
  add_custom_command(OUTPUT ${TARNWIPE_MSI}
    COMMAND ${WIXL} -a x64 -o ${TARNWIPE_MSI} ${CMAKE_BINARY_DIR}/generated/tarnwipe.wxs
    DEPENDS tarnwipe ${CMAKE_BINARY_DIR}/generated/tarnwipe.wxs VERBATIM)
  add_custom_target(msi ALL DEPENDS ${TARNWIPE_MSI})
endif()
