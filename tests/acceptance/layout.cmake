# Every visible control of every window of the program inside its parent's client area, measured
# on the built program's windows in each of the three resource languages, at 96 and at 192 dots
# per inch.
set(LAYOUT_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/layout_test.cpp)
add_test_suite(acceptance_layout DPI 96 192 SOURCES ${LAYOUT_SOURCES})
target_compile_definitions(acceptance_layout PRIVATE TEST_LANGUAGE_ENGLISH)
add_test_suite(acceptance_layout_ja LANG ja_JP.UTF-8 DPI 96 192 SOURCES ${LAYOUT_SOURCES})
target_compile_definitions(acceptance_layout_ja PRIVATE TEST_LANGUAGE_JAPANESE)
add_test_suite(acceptance_layout_zh LANG zh_TW.UTF-8 DPI 96 192 SOURCES ${LAYOUT_SOURCES})
target_compile_definitions(acceptance_layout_zh PRIVATE TEST_LANGUAGE_CHINESE)
