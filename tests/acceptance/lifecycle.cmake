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

# What an install did not make (the user's folder and files, a system file, another product's
# entry and installation) stays whole through install and uninstall.
add_test_suite(acceptance_untouched SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/untouched_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/lifecycle_driver.cpp)
target_compile_definitions(acceptance_untouched PRIVATE TEST_LANGUAGE_ENGLISH)

# The unattended modes: what they make, compared with the wizard; their exit codes and log.
add_test_suite(acceptance_unattended SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/unattended_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/lifecycle_driver.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/lifecycle_snapshot.cpp
  ${CMAKE_SOURCE_DIR}/tests/shell/link_reader.cpp)
target_compile_definitions(acceptance_unattended PRIVATE TEST_LANGUAGE_ENGLISH)

# The English life cycle again with Wine reporting Windows 95, then NT 4.0, to the program
# (Wine's per-program version setting, for every program named SETUP.EXE: the package's, the
# installed copy and the worker copy). Only the 32-bit edition runs on those systems.
if(EDITION EQUAL 32)
  set(APP_DEFAULTS "HKCU\\Software\\Wine\\AppDefaults\\SETUP.EXE")
  foreach(version win95 nt40)
    add_test(NAME lifecycle_${version}_setting
      COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} reg add ${APP_DEFAULTS} /v Version /d ${version} /f)
    add_test(NAME lifecycle_${version}_setting_removed
      COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} reg delete ${APP_DEFAULTS} /f)
    add_test(NAME Lifecycle_${version}_En.InstallReinstallUninstallLeavesThePrefixAsItWas
      COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:lifecycle_en>
        --gtest_filter=LifecycleEn.InstallReinstallUninstallLeavesThePrefixAsItWas)
    set_tests_properties(lifecycle_${version}_setting PROPERTIES FIXTURES_SETUP lifecycle_${version})
    set_tests_properties(lifecycle_${version}_setting_removed PROPERTIES FIXTURES_CLEANUP lifecycle_${version})
    set_tests_properties(Lifecycle_${version}_En.InstallReinstallUninstallLeavesThePrefixAsItWas PROPERTIES
      FIXTURES_REQUIRED lifecycle_${version} TIMEOUT 300
      ENVIRONMENT "LC_ALL=C.UTF-8;LIFECYCLE_REPORTED_WINDOWS=${version}")
  endforeach()
  # One setting at a time: NT 4.0's is made only after Windows 95's was removed.
  set_tests_properties(lifecycle_nt40_setting PROPERTIES DEPENDS lifecycle_win95_setting_removed)
endif()
