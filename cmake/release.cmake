# The release bundle: `cmake --build build --target package` makes pondway-setup-<version>.zip
# holding both editions of the installer and of setupcheck, the packager's guide and the sample
# package. The version is the version resource's (res/version.h), so bundle and programs agree.
# Given a certificate, the bundle's programs are signed (below).
file(STRINGS ${CMAKE_SOURCE_DIR}/res/version.h RELEASE_VERSION_LINE REGEX "^#define FILE_VERSION_TEXT ")
string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" RELEASE_VERSION "${RELEASE_VERSION_LINE}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/version.h)

set(PACKAGER_GUIDE ${CMAKE_BINARY_DIR}/PACKAGERS-GUIDE.txt)
add_custom_command(OUTPUT ${PACKAGER_GUIDE}
  COMMAND ${CMAKE_COMMAND} -DREADME=${CMAKE_SOURCE_DIR}/README.md -DGUIDE=${PACKAGER_GUIDE}
    -P ${CMAKE_SOURCE_DIR}/cmake/packager-guide.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/cmake/packager-guide.cmake
  COMMENT "Writing the packager's guide from the README")
add_custom_target(packager_guide ALL DEPENDS ${PACKAGER_GUIDE})

set(RELEASE_PROGRAMS ${CMAKE_BINARY_DIR}/${SETUP_NAME}.exe ${CMAKE_BINARY_DIR}/${SETUPCHECK_NAME}.exe)
if(BUILD_OTHER_EDITION)
  list(APPEND RELEASE_PROGRAMS ${CMAKE_BINARY_DIR}/${OTHER_NAME}.exe ${CMAKE_BINARY_DIR}/${OTHER_CHECK_NAME}.exe)
endif()
install(FILES ${RELEASE_PROGRAMS} ${PACKAGER_GUIDE} DESTINATION .)
# The sample package ships the edition to ship by default, whichever edition this build is.
# Its program is left out of the folder's copy rather than overwritten after it: an install
# step keeps a file whose time equals its source's, and both editions may be built within the
# same second.
if(EDITION EQUAL 32 OR BUILD_OTHER_EDITION)
  install(DIRECTORY ${CMAKE_BINARY_DIR}/sample-package/ DESTINATION sample-package PATTERN SETUP.EXE EXCLUDE)
  install(FILES ${CMAKE_BINARY_DIR}/setup.exe DESTINATION sample-package RENAME SETUP.EXE)
else()
  install(DIRECTORY ${CMAKE_BINARY_DIR}/sample-package/ DESTINATION sample-package)
endif()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME pondway-setup)
set(CPACK_PACKAGE_VENDOR Tamberlyn)
set(CPACK_PACKAGE_VERSION ${RELEASE_VERSION})
set(CPACK_PACKAGE_FILE_NAME pondway-setup-${RELEASE_VERSION})
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
# Authenticode signing of the bundle's programs (cmake/sign-bundle.cmake), with a PKCS#12
# certificate whose password is kept in a file; a timestamp server is optional. Left empty, the
# environment variables of the same names are read when the bundle is made; without a
# certificate the bundle is unsigned.
set(SIGN_PKCS12 "" CACHE FILEPATH "PKCS#12 certificate to sign the release bundle's programs with")
set(SIGN_PASSWORD_FILE "" CACHE FILEPATH "File whose first line is the certificate's password")
set(SIGN_TIMESTAMP_URL "" CACHE STRING "RFC 3161 timestamp server for the signatures (none when empty)")
foreach(setting PKCS12 PASSWORD_FILE TIMESTAMP_URL)
  set(CPACK_SIGN_${setting} "${SIGN_${setting}}")
endforeach()
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/sign-bundle.cmake)
include(CPack)
