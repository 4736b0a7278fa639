# The Windows suites, run under the cross-compiling emulator (Wine): the logic tests and the
# Win32 layer's tests on real files. GoogleTest is built from Debian's sources for the target.
set(INSTALL_GTEST OFF)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# One program per suite, one ctest case each: every start of a program under Wine costs time.
# A case that cannot run under Wine says so with one line and counts as passed.
add_executable(logic_tests logic/folder_run_test.cpp logic/free_space_run_test.cpp logic/memory_layer_test.cpp logic/paths_test.cpp logic/protection_test.cpp logic/renderings_test.cpp logic/window_reporter_test.cpp
  logic/selection_test.cpp logic/several_run_test.cpp logic/single_file_test.cpp logic/trash_run_test.cpp)
# The window tests carry the program's manifest, so that they see the DPI the program sees.
add_executable(win32_tests platform/win32_file_system_test.cpp window/win32_window_test.cpp
  ${CMAKE_BINARY_DIR}/generated/tarnwipe.rc)
foreach(suite logic_tests win32_tests)
  target_link_libraries(${suite} PRIVATE tarnwipe_test_support GTest::gtest_main)
  add_test(NAME ${suite} COMMAND ${suite})
endforeach()

# The window laid out again at 144 and 192 DPI, the prefix's LogPixels set for the run.
foreach(dpi 144 192)
  add_test(NAME win32_window_at_${dpi}_dpi
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/window/win32_at_dpi.sh ${dpi} $<TARGET_FILE:win32_tests> --gtest_filter=Win32Window.Laid*)
endforeach()

add_test(NAME win32_manifest COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/window/win32_manifest_test.sh $<TARGET_FILE:tarnwipe>)

# The real program under Wine on a real display: a folder chosen through the dialog by keys,
# the question answered, the files gone and the closing line as the window shows it.
add_executable(read_window_text window/read_window_text.cpp)
target_link_libraries(read_window_text PRIVATE tarnwipe_win32)
target_link_options(read_window_text PRIVATE -municode)
add_test(NAME win32_window_erases_a_chosen_map
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/window/win32_smoke_test.sh $<TARGET_FILE:tarnwipe> $<TARGET_FILE:read_window_text>)
set_tests_properties(win32_window_erases_a_chosen_map PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)

# The program under Wine on NTFS, exFAT and FAT32 images given to it as a drive: nothing of what
# it erased, names included, is found on the raw image or by fls afterwards.
add_test(NAME win32_forensic_images
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/filesystem/win32_forensic_test.sh $<TARGET_FILE:tarnwipe> $<TARGET_FILE:read_window_text>)
set_tests_properties(win32_forensic_images PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)

# The installer's round trip under Wine, where wixl built it.
if(TARNWIPE_MSI)
  add_test(NAME win32_installer_round_trip
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/window/win32_installer_test.sh ${TARNWIPE_MSI}
            $<TARGET_FILE:read_window_text> ${PROJECT_VERSION})
  set_tests_properties(win32_installer_round_trip PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180)
endif()
