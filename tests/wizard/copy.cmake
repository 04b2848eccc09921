# Copy page and program-menu page: unit suites on pages made from the linked templates, and
# end-to-end suites that install a package of the test's own with the built program.
add_test_suite(wizard_copy_unit SOURCES copy_unit_test.cpp)
add_test_suite(wizard_copy_menu SOURCES menu_unit_test.cpp)
