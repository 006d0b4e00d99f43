# Run by CPack before it packs (CPACK_PRE_BUILD_SCRIPTS): strips the staged ELF files as Debian's
# own tools do, also removing the compiler's .comment and .note sections, which lintian flags.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(file IN LISTS staged)
  if(IS_SYMLINK "${file}")
    continue()
  endif()
  file(READ "${file}" magic LIMIT 4 HEX)
  if(NOT magic STREQUAL "7f454c46") # "\x7fELF"
    continue()
  endif()
  execute_process(COMMAND "${CPACK_STRIP_PROGRAM}" --remove-section=.comment --remove-section=.note
                          --strip-unneeded "${file}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot strip ${file}")
  endif()
endforeach()
