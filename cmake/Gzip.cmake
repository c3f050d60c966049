# Debian wants manual pages and changelogs gzipped; -n leaves the name and time out, so a
# rebuild gives the same bytes.
include_guard(GLOBAL)
find_program(PAGETAP_GZIP gzip REQUIRED)

# Builds `output`, the gzipped copy of `source`, as part of every build.
function(pagetap_gzip target source output)
  get_filename_component(folder ${output} DIRECTORY)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${PAGETAP_GZIP} -9 -n -c ${source} > ${output}
    DEPENDS ${source}
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
endfunction()
