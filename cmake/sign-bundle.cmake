# Signs the release bundle's programs with Authenticode (osslsigncode), run by CPack on the files
# it has staged for the zip and before it packs them: the bundle ships signed programs while the
# build's own setup.exe and setup64.exe stay unsigned, as the tests and the size check see them.
# Nothing is done without a certificate. The settings come from the build's options
# (CPACK_SIGN_*, written by cmake/release.cmake), else from the environment at packaging time
# (SIGN_PKCS12, SIGN_PASSWORD_FILE, SIGN_TIMESTAMP_URL).
foreach(setting PKCS12 PASSWORD_FILE TIMESTAMP_URL)
  if("${CPACK_SIGN_${setting}}" STREQUAL "")
    set(CPACK_SIGN_${setting} "$ENV{SIGN_${setting}}")
  endif()
endforeach()
if(CPACK_SIGN_PKCS12 STREQUAL "")
  return()
endif()

# Every failure ends the packaging with one line saying what went wrong (the leading blank keeps
# CMake from folding it).
macro(refuse text)
  message(FATAL_ERROR " Signing the release bundle failed: ${text}")
endmacro()

if(NOT EXISTS "${CPACK_SIGN_PKCS12}")
  refuse("the certificate file ${CPACK_SIGN_PKCS12} does not exist")
endif()
if(CPACK_SIGN_PASSWORD_FILE STREQUAL "")
  refuse("SIGN_PASSWORD_FILE must name a file holding the password of ${CPACK_SIGN_PKCS12}")
endif()
if(NOT EXISTS "${CPACK_SIGN_PASSWORD_FILE}")
  refuse("the password file ${CPACK_SIGN_PASSWORD_FILE} does not exist")
endif()
find_program(OSSLSIGNCODE osslsigncode)
if(NOT OSSLSIGNCODE)
  refuse("osslsigncode is not installed (scripts/setup-machine.sh installs it)")
endif()

# The password is read from its file by osslsigncode, so it is on no command line.
set(options -pkcs12 "${CPACK_SIGN_PKCS12}" -readpass "${CPACK_SIGN_PASSWORD_FILE}" -h sha256
  -n "Pondway Setup")
if(NOT CPACK_SIGN_TIMESTAMP_URL STREQUAL "")
  list(APPEND options -ts "${CPACK_SIGN_TIMESTAMP_URL}")
endif()

set(staged "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
set(signed 0)
foreach(program setup.exe setup64.exe setupcheck.exe setupcheck64.exe sample-package/SETUP.EXE)
  if(NOT EXISTS "${staged}/${program}")
    continue()
  endif()
  # osslsigncode writes a new file; the staged one is replaced only by a complete signed copy.
  execute_process(COMMAND "${OSSLSIGNCODE}" sign ${options}
      -in "${staged}/${program}" -out "${staged}/${program}.signed"
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE said)
  if(NOT status EQUAL 0)
    file(REMOVE "${staged}/${program}.signed")
    # osslsigncode's first line of complaint ("Failed to parse PKCS#12 file: ... (Wrong
    # password?)"); OpenSSL's error codes follow it.
    string(STRIP "${said}${out}" said)
    string(REGEX REPLACE "\n.*" "" said "${said}")
    refuse("osslsigncode could not sign ${program}: ${said}")
  endif()
  file(RENAME "${staged}/${program}.signed" "${staged}/${program}")
  math(EXPR signed "${signed} + 1")
endforeach()
if(signed EQUAL 0)
  refuse("no program to sign in ${staged}")
endif()
message(STATUS "Signed ${signed} programs with ${CPACK_SIGN_PKCS12}")
