# Writes the packager's guide, a plain-text file, from the README's packager sections ("Shipping
# an application" and "The setup information file (reference)"), so that there is one text to
# keep. Run with: cmake -DREADME=... -DGUIDE=... -P packager-guide.cmake
file(READ ${README} readme)
set(guide "Pondway Setup: the packager's guide\n\n")
foreach(heading "## Shipping an application" "## The setup information file (reference)")
  string(FIND "${readme}" "\n${heading}\n" start)
  if(start EQUAL -1)
    message(FATAL_ERROR "${README} has no section \"${heading}\"")
  endif()
  math(EXPR start "${start} + 1")
  string(SUBSTRING "${readme}" ${start} -1 section)
  # The section runs up to the next heading of the same level.
  string(LENGTH "${heading}" skip)
  string(SUBSTRING "${section}" ${skip} -1 rest)
  string(FIND "${rest}" "\n## " end)
  if(NOT end EQUAL -1)
    math(EXPR end "${end} + ${skip} + 1")
    string(SUBSTRING "${section}" 0 ${end} section)
  endif()
  string(APPEND guide "${section}\n")
endforeach()
file(WRITE ${GUIDE} "${guide}")
