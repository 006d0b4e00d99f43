# correlatore_install_gzipped(<file> <destination> [RENAME <name>]): installs <file> compressed,
# as Debian wants man pages and changelogs. gzip -n leaves out the name and the time, so the same
# source gives the same bytes. Without gzip (not a Unix), the file is installed as it is.
find_program(GZIP_EXE gzip)

function(correlatore_install_gzipped file destination)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "RENAME" "")
  get_filename_component(name "${file}" NAME)
  if(arg_RENAME)
    set(name "${arg_RENAME}")
  endif()
  if(NOT GZIP_EXE)
    install(FILES "${file}" DESTINATION "${destination}" RENAME "${name}")
    return()
  endif()
  set(zipped "${CMAKE_CURRENT_BINARY_DIR}/gzipped/${name}.gz")
  add_custom_command(OUTPUT "${zipped}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/gzipped"
    COMMAND ${GZIP_EXE} -9 -n -c "${file}" > "${zipped}"
    DEPENDS "${file}" VERBATIM)
  string(MAKE_C_IDENTIFIER "gzip_${name}" target)
  add_custom_target(${target} ALL DEPENDS "${zipped}")
  install(FILES "${zipped}" DESTINATION "${destination}")
endfunction()
