# Copy page and program-menu page: unit suites on pages made from the linked templates, and
# end-to-end suites that install a package of the test's own with the built program.
add_test_suite(wizard_copy_unit SOURCES copy_unit_test.cpp)
add_test_suite(wizard_copy_menu SOURCES menu_unit_test.cpp)

# A program the packages name as their "Open" file: it leaves a marker beside itself.
add_executable(wizard_copy_marker WIN32 copy_marker.cpp)
target_link_options(wizard_copy_marker PRIVATE -static -s)
set_target_properties(wizard_copy_marker PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
string(REPLACE "/" "\\\\" COPY_MARKER_WINDOWS "Z:${CMAKE_CURRENT_BINARY_DIR}/wizard_copy_marker.exe")

add_test_suite(wizard_copy_e2e SOURCES copy_e2e_test.cpp)
add_test_suite(wizard_copy_e2e_ja LANG ja_JP.UTF-8 SOURCES copy_e2e_ja_test.cpp)
foreach(suite wizard_copy_e2e wizard_copy_e2e_ja)
  add_dependencies(${suite} wizard_copy_marker)
  target_compile_definitions(${suite} PRIVATE "COPY_MARKER_EXE=\"${COPY_MARKER_WINDOWS}\"")
endforeach()
