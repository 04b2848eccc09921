# Every message the program can show, read from the built program's windows in each of the
# three resource languages.
set(MESSAGES_SOURCES messages_e2e_test.cpp)
add_test_suite(acceptance_messages SOURCES ${MESSAGES_SOURCES})
target_compile_definitions(acceptance_messages PRIVATE TEST_LANGUAGE_ENGLISH)
add_test_suite(acceptance_messages_ja LANG ja_JP.UTF-8 SOURCES ${MESSAGES_SOURCES})
target_compile_definitions(acceptance_messages_ja PRIVATE TEST_LANGUAGE_JAPANESE)
add_test_suite(acceptance_messages_zh LANG zh_TW.UTF-8 SOURCES ${MESSAGES_SOURCES})
target_compile_definitions(acceptance_messages_zh PRIVATE TEST_LANGUAGE_CHINESE)
