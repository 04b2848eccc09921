# Hostile setup information files (tests/acceptance/corpus/ and generated cases) run through
# the built program: under the Western code page, and under Shift-JIS for the cases that name
# the Japanese suite (double-byte values among them).
add_test_suite(acceptance_corpus SOURCES corpus_test.cpp)
target_compile_definitions(acceptance_corpus PRIVATE TEST_LANGUAGE_ENGLISH)
add_test_suite(acceptance_corpus_ja LANG ja_JP.UTF-8 SOURCES corpus_test.cpp)
target_compile_definitions(acceptance_corpus_ja PRIVATE TEST_LANGUAGE_JAPANESE)
