# Our own targets build with warnings as errors; the libraries we use are system headers.
function(pagetap_own_code target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror)
endfunction()
