# Wizard frame, destination-folder page and about box: unit tests in-process and end-to-end
# tests of the built program.

# Drives whose free space the tests choose (tmpfs mounts mapped as T:, U:, V:, W:), made on the
# Linux side before the suites that need them and removed afterwards.
set(FRAME_DRIVES_DIR ${CMAKE_BINARY_DIR}/frame-drives)
add_test(NAME wizard_frame_drives_mount
  COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/frame_drives.sh mount ${FRAME_DRIVES_DIR})
add_test(NAME wizard_frame_drives_unmount
  COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/frame_drives.sh unmount ${FRAME_DRIVES_DIR})
set_tests_properties(wizard_frame_drives_mount PROPERTIES FIXTURES_SETUP wizard_frame_drives)
set_tests_properties(wizard_frame_drives_unmount PROPERTIES FIXTURES_CLEANUP wizard_frame_drives)

# A library that holds nothing but a version resource with several translations and tables.
add_library(wizard_frame_versions SHARED ${CMAKE_CURRENT_SOURCE_DIR}/frame_versions.rc)
set_target_properties(wizard_frame_versions PROPERTIES LINKER_LANGUAGE CXX PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
target_link_options(wizard_frame_versions PRIVATE -static)
string(REPLACE "/" "\\\\" FRAME_VERSIONS_WINDOWS "Z:${CMAKE_CURRENT_BINARY_DIR}/wizard_frame_versions.dll")

# add_test_suite with the drives fixture: the same program and discovery, each test requiring
# the drives to be mounted.
function(add_frame_suite name)
  cmake_parse_arguments(ARG "" "LANG" "SOURCES" ${ARGN})
  if(NOT ARG_LANG)
    set(ARG_LANG C.UTF-8)
  endif()
  add_executable(${name} ${ARG_SOURCES} $<TARGET_OBJECTS:resources>)
  target_compile_options(${name} PRIVATE -Wall -Wextra)
  target_compile_definitions(${name} PRIVATE "FRAME_VERSIONS_DLL=\"${FRAME_VERSIONS_WINDOWS}\"")
  target_link_libraries(${name} PRIVATE test_support gtest_main)
  target_link_options(${name} PRIVATE -static)
  add_dependencies(${name} setup wizard_frame_versions)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    # One variable only: a list value would be split into separate properties on its way
    # through test discovery. Wine takes its code page and interface language from LC_ALL.
    PROPERTIES ENVIRONMENT "LC_ALL=${ARG_LANG}" TIMEOUT 300 FIXTURES_REQUIRED wizard_frame_drives)
endfunction()

set(FRAME_DIR ${CMAKE_CURRENT_SOURCE_DIR})
add_frame_suite(wizard_frame_unit SOURCES
  ${FRAME_DIR}/frame_space_test.cpp ${FRAME_DIR}/frame_version_test.cpp)
add_frame_suite(wizard_frame_unit_ja LANG ja_JP.UTF-8 SOURCES
  ${FRAME_DIR}/frame_version_test.cpp)
add_frame_suite(wizard_frame_e2e SOURCES
  ${FRAME_DIR}/frame_e2e_test.cpp ${FRAME_DIR}/frame_full_drive_test.cpp ${FRAME_DIR}/frame_package.cpp)
add_frame_suite(wizard_frame_e2e_ja LANG ja_JP.UTF-8 SOURCES
  ${FRAME_DIR}/frame_e2e_ja_test.cpp ${FRAME_DIR}/frame_package.cpp)
