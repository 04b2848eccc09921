# The sample package's whole life (install, use, reinstall, uninstall) in each of the three
# languages, from the same sources; each suite compares drive C: and the registry before and
# after.
set(LIFECYCLE_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/lifecycle_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/lifecycle_driver.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/lifecycle_snapshot.cpp
  ${CMAKE_SOURCE_DIR}/tests/shell/link_reader.cpp)

add_test_suite(lifecycle_en SOURCES ${LIFECYCLE_SOURCES})
target_compile_definitions(lifecycle_en PRIVATE TEST_LANGUAGE_ENGLISH)
if(LIFECYCLE_SMOKE_ONLY)
  add_dependencies(lifecycle_en sample_package)
  return()
endif()
add_test_suite(lifecycle_ja LANG ja_JP.UTF-8 SOURCES ${LIFECYCLE_SOURCES})
target_compile_definitions(lifecycle_ja PRIVATE TEST_LANGUAGE_JAPANESE)
add_test_suite(lifecycle_zh LANG zh_TW.UTF-8 SOURCES ${LIFECYCLE_SOURCES})
target_compile_definitions(lifecycle_zh PRIVATE TEST_LANGUAGE_CHINESE)
foreach(suite lifecycle_en lifecycle_ja lifecycle_zh)
  add_dependencies(${suite} sample_package)
endforeach()

# A package of Japanese folder, file, shortcut and key names, some ending or beginning with a
# double-byte character whose second byte is "\", installed and uninstalled in code page 932.
add_test_suite(lifecycle_names_ja LANG ja_JP.UTF-8 SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/lifecycle_names_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/lifecycle_driver.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/lifecycle_snapshot.cpp
  ${CMAKE_SOURCE_DIR}/tests/shell/link_reader.cpp)
target_compile_definitions(lifecycle_names_ja PRIVATE TEST_LANGUAGE_JAPANESE)
